#!/bin/sh
# The launcher against a fake installation: first run, a run over a folder in
# use, an upgrade of the delivered files, the choice of the data folder and
# the failures that must stop it.
# Usage: launcher_test.sh path/to/dorodure-launcher.sh
set -u
launcher_src=${1:?usage: launcher_test.sh LAUNCHER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/check.sh"

# A fake prefix: the launcher in bin/, a program that records where and with
# what it was started, and the delivered files beside it.
prefix=$work/usr
mkdir -p "$prefix/bin" "$prefix/lib/dorodure"
cp "$launcher_src" "$prefix/bin/dorodure"
chmod +x "$prefix/bin/dorodure"
record=$work/record
cat >"$prefix/lib/dorodure/dorodure" <<'EOF'
#!/bin/sh
{ pwd; for a in "$@"; do echo "arg:$a"; done; } >"$LAUNCH_RECORD"
exit 7
EOF
chmod +x "$prefix/lib/dorodure/dorodure"
for f in Advanced.pdf Basic.pdf Install.pdf logo.gif logobig.gif Dorodure.html English.lng; do
    echo "delivered $f v1" >"$prefix/lib/dorodure/$f"
done
printf '#!/bin/sh\necho set-up\n' >"$prefix/lib/dorodure/serial-setup.sh"
chmod +x "$prefix/lib/dorodure/serial-setup.sh"

home=$work/home
mkdir -p "$home"
launch() {  # runs the launcher with a clean environment; sets $rc
    rm -f "$record"
    env -i HOME="$home" PATH=/usr/bin:/bin LAUNCH_RECORD="$record" "$@" \
        "$prefix/bin/dorodure" --demo "two words" >"$work/out" 2>&1
    rc=$?
}

delivered_match() {  # every installed file is in the folder, byte for byte
    for f in "$prefix"/lib/dorodure/*; do
        n=${f##*/}
        [ "$n" = dorodure ] && continue
        cmp -s "$f" "$1/$n" || { echo "  $n differs or is missing" >&2; return 1; }
    done
}

started_in() {  # the program ran in folder $1 with the arguments passed on
    [ "$(sed -n 1p "$record" 2>/dev/null)" = "$1" ] &&
        [ "$(sed -n 2p "$record")" = "arg:--demo" ] &&
        [ "$(sed -n 3p "$record")" = "arg:two words" ]
}

# 1. First run: the default folder is created and filled, the program starts there.
data=$home/Dorodure
launch
check "first run passes the program's exit code on" [ "$rc" -eq 7 ]
check "first run creates ~/Dorodure" [ -d "$data" ]
check "first run puts the delivered files there" delivered_match "$data"
check "the program link points to the installed program" \
    [ "$(readlink "$data/dorodure")" = "$prefix/lib/dorodure/dorodure" ]
check "serial-setup.sh stays executable" [ -x "$data/serial-setup.sh" ]
check "the program starts in the data folder with its arguments" started_in "$data"
check "no scratch file is left" [ -z "$(find "$data" -name '.*dorodure-new')" ]

# 2. A folder in use: sites, day files, reports, logs and settings stay as they are.
mkdir -p "$data/Head Office/Raw"
printf 'Dorodure\r\n' >"$data/Head Office/checkpt.lst"
printf 'record\r\n' >"$data/Head Office/Raw/240101.txt"
printf 'report\r\n' >"$data/Head Office/01011200.txt"
printf 'CommPort=5\r\nPort5=/dev/serial/by-id/usb-x\r\n' >"$data/Dorodure.ini"
printf 'log\r\n' >"$data/LG202401.txt"
printf 'Done\r\n' >"$data/Raw.txt"
printf 'my language\r\n' >"$data/Deutsch.lng"
user_files() { (cd "$data" && find . -path ./dorodure -prune -o -type f -print | sort |
    grep -v -e '\.pdf$' -e '\.gif$' -e 'Dorodure.html' -e 'serial-setup.sh' -e 'English.lng' |
    xargs -d '\n' md5sum); }
before=$(user_files)
touch -d '2001-01-01' "$data/Basic.pdf"
launch
check "a second run keeps the user's files" [ "$(user_files)" = "$before" ]
check "an unchanged delivered file is not rewritten" \
    [ "$(date -r "$data/Basic.pdf" +%Y)" = 2001 ]
check "a second run starts the program again" started_in "$data"

# 3. An upgrade: changed and new delivered files reach the folder, a damaged or
# missing copy is restored, a stale program link is fixed; user files stay.
echo "delivered logo.gif v2" >"$prefix/lib/dorodure/logo.gif"
echo "delivered overhelp.pdf v2" >"$prefix/lib/dorodure/overhelp.pdf"
echo "damaged" >"$data/Basic.pdf"
chmod a-w "$data/Install.pdf"
rm "$data/English.lng"
ln -sfn /nowhere/dorodure "$data/dorodure"
launch
check "the upgrade refreshes every delivered file" delivered_match "$data"
check "the upgrade fixes the program link" \
    [ "$(readlink "$data/dorodure")" = "$prefix/lib/dorodure/dorodure" ]
check "the upgrade keeps the user's files" [ "$(user_files)" = "$before" ]

# 4. Choosing the folder: the config file, then $DORODURE_DATA over it.
mkdir -p "$home/.config/dorodure"
printf '  ~/Office data \r\n' >"$home/.config/dorodure/data-folder"
launch
check "the config file names the folder (~ and blanks)" started_in "$home/Office data"
check "the configured folder is filled" delivered_match "$home/Office data"
launch DORODURE_DATA="$work/site PC"
check "DORODURE_DATA wins over the config file" started_in "$work/site PC"
launch DORODURE_DATA="relative"
check "a relative DORODURE_DATA lies in the home folder" started_in "$home/relative"
launch XDG_CONFIG_HOME="$work/xdg"
check "without a config file the default folder is used" started_in "$data"

# 5. Failures: no folder, no program: a message and no start.
: >"$work/a file"
launch DORODURE_DATA="$work/a file/sub"
check "an impossible data folder stops with an error" [ "$rc" -eq 1 ]
check "  and says which folder" grep -q "a file/sub" "$work/out"
check "  and does not start the program" [ ! -e "$record" ]
mv "$prefix/lib/dorodure/dorodure" "$work/moved"
launch
check "a missing program stops with an error" [ "$rc" -eq 1 ]
check "  and says to reinstall" grep -q "reinstall" "$work/out"

echo "launcher: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
