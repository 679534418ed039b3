#!/bin/sh
# Starts the Dorodure uploader in the user's data folder.
#
# The program keeps every file in the folder that is current when it starts:
# sites, day files, reports, logs, settings and the files delivered with it,
# which its start-up check expects beside them. This launcher
#   1. finds the data folder: $DORODURE_DATA, else the first line of
#      ~/.config/dorodure/data-folder, else ~/Dorodure;
#   2. creates it on the first run;
#   3. puts the delivered files there (every file installed beside the
#      program: help documents, logos, help page, serial set-up helper,
#      English.lng; and "dorodure", a link to the program), replacing any copy that differs from the installed one, so an
#      upgrade of the package reaches every user at the next start; nothing
#      else in the folder is touched;
#   4. starts the program there. A second start reaches the running copy
#      through the program's own single-instance check.
set -eu

say() {
    echo "dorodure: $*" >&2
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v notify-send >/dev/null 2>&1; then
        notify-send "Dorodure uploader" "$*" 2>/dev/null || true
    fi
}

# The installed program and its delivered files live together in
# <prefix>/lib/dorodure, <prefix> being the folder above this script's bin/.
self=$(readlink -f "$0")
prefix=$(dirname "$(dirname "$self")")
libdir=$prefix/lib/dorodure
program=$libdir/dorodure

# A folder name from the environment or the config file: "~/" means the home
# folder and a relative name is taken below it.
expand_folder() {
    # shellcheck disable=SC2088 # a literal "~" from a config file
    case $1 in
        "~") printf '%s\n' "$HOME" ;;
        "~/"*) printf '%s/%s\n' "$HOME" "${1#"~/"}" ;;
        /*) printf '%s\n' "$1" ;;
        *) printf '%s/%s\n' "$HOME" "$1" ;;
    esac
}

data_folder() {
    if [ -n "${DORODURE_DATA:-}" ]; then
        expand_folder "$DORODURE_DATA"
        return
    fi
    config=${XDG_CONFIG_HOME:-$HOME/.config}/dorodure/data-folder
    if [ -r "$config" ]; then
        line=$(sed -n '1{s/\r$//;s/^[[:space:]]*//;s/[[:space:]]*$//;p;}' "$config")
        if [ -n "$line" ]; then
            expand_folder "$line"
            return
        fi
    fi
    printf '%s/Dorodure\n' "$HOME"
}

# Copies one delivered file when missing or different; the copy is written
# beside the target and renamed over it, so a half-written file never stays.
refresh_file() {
    from=$libdir/$1
    to=$data/$1
    if [ -f "$to" ] && cmp -s "$from" "$to"; then
        return 0
    fi
    if [ -d "$to" ]; then
        say "$to is a folder; the delivered file $1 cannot be put there"
        return 1
    fi
    tmp=$data/.$1.dorodure-new
    if ! { cp "$from" "$tmp" && mv -f "$tmp" "$to"; }; then
        rm -f "$tmp"
        say "cannot write $to"
        return 1
    fi
}

# "dorodure" in the data folder is a link to the installed program.
refresh_program_link() {
    link=$data/dorodure
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$program" ]; then
        return 0
    fi
    if [ -d "$link" ] && [ ! -L "$link" ]; then
        say "$link is a folder; the program link cannot be put there"
        return 1
    fi
    tmp=$data/.dorodure.dorodure-new
    rm -f "$tmp"
    if ! { ln -s "$program" "$tmp" && mv -fT "$tmp" "$link"; }; then
        rm -f "$tmp"
        say "cannot write $link"
        return 1
    fi
}

if [ ! -x "$program" ]; then
    say "the program $program is missing; please reinstall the package"
    exit 1
fi
data=$(data_folder)
if ! mkdir -p "$data" 2>/dev/null || [ ! -w "$data" ]; then
    say "cannot create or write the data folder $data (set DORODURE_DATA or ~/.config/dorodure/data-folder)"
    exit 1
fi
failed=0
for from in "$libdir"/*; do
    name=${from##*/}
    if [ -f "$from" ] && [ "$name" != dorodure ]; then
        refresh_file "$name" || failed=1
    fi
done
refresh_program_link || failed=1
# The program's start-up check names any file still missing; start it anyway.
[ $failed -eq 0 ] || say "some delivered files could not be put into $data"

cd "$data"
exec "$program" "$@"
