#!/usr/bin/env bash
# Builds the Debian package and tries it as a customer would: installed with
# apt on a clean Debian 12 (a debootstrap chroot), started by an ordinary user.
#
# Checks, in order (each prints "ok:" or "FAILED:"; the script exits non-zero
# on the first failure):
#   - the desktop entry and the AppStream metainfo validate;
#   - the package builds with CPack and lists the expected files and depends;
#   - "apt install ./dorodure_*.deb" succeeds in the clean chroot;
#   - the launcher, run headless by a new user, creates ~/Dorodure with the
#     delivered files, the program passes its start-up checks and reaches the
#     idle cycle with the simulated station (its trace shows both);
#   - dorodure-cli uploads the demo baton in that folder and writes the reports.
#
# Needs root (debootstrap, chroot, mounts). The clean base system is kept in
# $DORODURE_CHROOT_CACHE (default /var/cache/dorodure-chroot) and reused; each
# run works on a throw-away overlay of it, so every run starts clean. The
# downloaded .debs are cached there too.
#   DORODURE_PACKAGE_BUILD   build folder (default: build-package in the tree)
#   DORODURE_DEBIAN_MIRROR   Debian mirror (default: http://deb.debian.org/debian)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORODURE_PACKAGE_BUILD:-$root/build-package}
cache=${DORODURE_CHROOT_CACHE:-/var/cache/dorodure-chroot}
mirror=${DORODURE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
app_id=example.dorodure.Uploader

ok() { echo "ok: $*"; }
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
step() { echo "== $*"; }

[ "$(id -u)" -eq 0 ] || fail "the package test needs root (debootstrap, chroot, mounts)"
"$root/scripts/install-deps.sh"
for tool in debootstrap desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        debootstrap desktop-file-utils appstream >/dev/null
done

step "desktop integration"
desktop-file-validate "$root/packaging/$app_id.desktop" || fail "desktop-file-validate"
ok "desktop-file-validate $app_id.desktop"
appstreamcli validate --no-net "$root/packaging/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
ok "appstreamcli validate --no-net $app_id.metainfo.xml"

step "package"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDORODURE_WERROR=ON \
    -DDORODURE_BUILD_APP=ON -DDORODURE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target dorodure dorodure-cli -j2
rm -f "$build"/dorodure_*.deb
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$build"/dorodure_*.deb)
ok "built $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/dorodure ./usr/bin/dorodure-cli ./usr/lib/dorodure/dorodure \
    ./usr/lib/dorodure/English.lng ./usr/lib/dorodure/logo.gif ./usr/lib/dorodure/serial-setup.sh \
    ./usr/lib/dorodure/overhelp.pdf ./usr/lib/dorodure/listhelp.pdf ./usr/lib/dorodure/downhelp.pdf \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
    "./usr/share/icons/hicolor/48x48/apps/$app_id.png" \
    ./usr/lib/udev/rules.d/60-dorodure-station.rules; do
    grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
ok "the package holds the launcher, programs, delivered files and desktop files"
depends=$(dpkg-deb -f "$deb" Depends)
for d in xdg-utils libqt6widgets6 libqt6serialport6 libhpdf; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
ok "Depends: $depends"

step "clean Debian 12"
base=$cache/base
if [ ! -f "$base/.dorodure-base-complete" ]; then
    echo "making the base system in $base (once)"
    rm -rf "$cache/base.tmp"
    mkdir -p "$cache"
    # A mirror hiccup is common enough to deserve a second try.
    for attempt in 1 2; do
        rm -rf "$cache/base.tmp"
        debootstrap --variant=minbase bookworm "$cache/base.tmp" "$mirror" \
            >"$cache/debootstrap.log" 2>&1 && break
        [ "$attempt" = 2 ] && { tail -20 "$cache/debootstrap.log"; fail "debootstrap"; }
    done
    touch "$cache/base.tmp/.dorodure-base-complete"
    mv "$cache/base.tmp" "$base"
fi
run=$(mktemp -d "$cache/run.XXXXXX")
chroot_dir=$run/root
mounts=()
cleanup() {
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount -l "${mounts[$i]}" 2>/dev/null || true
    done
    rm -rf "$run"
}
trap cleanup EXIT
mkdir -p "$run/upper" "$run/work" "$chroot_dir" "$cache/apt-archives/partial"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$run/upper,workdir=$run/work" "$chroot_dir"
mounts+=("$chroot_dir")
for m in proc dev; do
    if [ $m = proc ]; then mount -t proc proc "$chroot_dir/proc"; else mount --bind /dev "$chroot_dir/dev"; fi
    mounts+=("$chroot_dir/$m")
done
mount --bind "$cache/apt-archives" "$chroot_dir/var/cache/apt/archives"
mounts+=("$chroot_dir/var/cache/apt/archives")
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
in_chroot() { chroot "$chroot_dir" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

cp "$deb" "$chroot_dir/tmp/"
in_chroot apt-get -o Acquire::Retries=3 update -q >/dev/null || fail "apt-get update in the chroot"
in_chroot env DEBIAN_FRONTEND=noninteractive apt-get -o Acquire::Retries=3 install -y -q \
    "/tmp/$(basename "$deb")" >"$run/apt.log" 2>&1 ||
    { tail -20 "$run/apt.log"; fail "apt install ./$(basename "$deb")"; }
ok "apt install ./$(basename "$deb") on a clean Debian 12"

step "first start of the launcher, headless"
in_chroot useradd -m -s /bin/sh guard
home=$chroot_dir/home/guard
data=$home/Dorodure
as_guard() {
    chroot --userspec=guard:guard "$chroot_dir" /usr/bin/env -i HOME=/home/guard \
        PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@"
}
as_guard dorodure --help >"$run/help.log" 2>&1 || { cat "$run/help.log"; fail "dorodure --help"; }
for f in Advanced.pdf Basic.pdf Install.pdf logo.gif logobig.gif Dorodure.html \
    serial-setup.sh English.lng overhelp.pdf listhelp.pdf downhelp.pdf; do
    cmp -s "$chroot_dir/usr/lib/dorodure/$f" "$data/$f" ||
        fail "the launcher did not put $f into ~/Dorodure"
done
[ "$(readlink "$data/dorodure")" = /usr/lib/dorodure/dorodure ] ||
    fail "the program link in the data folder is wrong"
ok "the launcher created ~/Dorodure with the delivered files"
# Now a real start that asks nothing: a site, the trace marker, no report
# viewer, and demo mode (a simulated station, no version check).
mkdir -p "$data/Head Office"
cp -r "$root/data/demo/Head Office/." "$data/Head Office/"
printf '\r\n' >"$data/Rs232.txt"
printf 'OpenReportAfterProcessing=F\r\n' >"$data/Dorodure.ini"
chroot "$chroot_dir" chown -R guard:guard /home/guard/Dorodure
as_guard timeout 45 sh -c 'cd /tmp && exec dorodure --demo' >"$run/app.log" 2>&1 &
app=$!
reached=""
for _ in $(seq 1 40); do
    sleep 1
    if grep -qs "setup compleated" "$data"/RsM*.txt && grep -qs "State=0" "$data"/Rs[0-9]*.txt; then
        reached=yes
        break
    fi
done
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
[ -n "$reached" ] || { cat "$run/app.log"; fail "the program did not reach the idle cycle"; }
ok "the program passed its start-up checks and reached the idle cycle"

step "command-line upload of the demo baton"
before=$(find "$data/Head Office" -maxdepth 1 -name '*.pdf' | wc -l)
as_guard sh -c 'cd /home/guard/Dorodure && dorodure-cli upload --simulate demo --batons 1 --timeout 120' \
    >"$run/cli.log" 2>&1 || { cat "$run/cli.log"; fail "dorodure-cli upload"; }
after=$(find "$data/Head Office" -maxdepth 1 -name '*.pdf' | wc -l)
[ "$after" -gt "$before" ] || { cat "$run/cli.log"; fail "no new report in Head Office"; }
[ "$(tail -n 1 "$data/Raw.txt" | tr -d '\r')" = Done ] || fail "Raw.txt is not marked Done"
ok "dorodure-cli uploaded the demo baton and wrote $((after - before)) new PDF report(s)"
echo "package test: all checks passed"
