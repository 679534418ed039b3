#!/bin/sh
# Pictures of every window of the desktop program, in English and in a
# language of longer words, taken on a virtual X display.
#
#   scripts/screenshots.sh [build folder] [output folder]
#   scripts/screenshots.sh --docs [build folder]
#
# The build folder must have been configured with -DDORODURE_BUILD_APP=ON.
# The windows are shown by the window tests' language check, which also fails
# when a caption does not fit; the pictures are written as
# <form>-English.png and <form>-Long.png, and the main window during a demo
# upload as frmMain-Upload.png. --docs renews the English pictures of the user
# guide in docs/screenshots.
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
docs=""
if [ "${1:-}" = "--docs" ]; then
    docs=yes
    shift
fi
build=${1:-"$here/build"}
out=${2:-"$here/screenshots"}
[ -n "$docs" ] && out=$(mktemp -d)

if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is needed (package xvfb)" >&2
    exit 2
fi

cmake --build "$build" --target test_app
mkdir -p "$out"
status=0
DORODURE_SCREENSHOTS="$out" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1600x1200x24" \
    "$build/tests/test_app" \
    --gtest_filter='LanguageSwitchTest.NothingIsCutOff*:MainWindowUpload.ShowsADemoUpload*' ||
    status=$?
if [ -n "$docs" ] && [ $status -eq 0 ]; then
    mkdir -p "$here/docs/screenshots"
    cp "$out"/*-English.png "$out"/frmMain-Upload.png "$here/docs/screenshots/"
    rm -rf "$out"
    out="$here/docs/screenshots"
fi
echo "pictures in $out:"
ls "$out"
exit $status
