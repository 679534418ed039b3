#!/usr/bin/env bash
# Installs what is missing, builds, and runs the desktop program on a demo data
# folder: port 1 is a simulated upload station on which a demo baton is placed
# every little while, so an upload, its reports and the idle cycle can be seen
# without hardware. Without a display the same upload runs headless with the
# command-line tool, and the script says where the reports are.
#   DORODURE_DEMO_DIR  the demo data folder (default: demo-data in the source tree)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"

demo=${DORODURE_DEMO_DIR:-$root/demo-data}
mkdir -p "$demo"
cp -rn "$root/data/demo/." "$demo/"
[ -f "$demo/English.lng" ] || cp "$root/data/English.lng" "$demo/"
cd "$demo"

app="$root/build/src/app/dorodure"
if [ -x "$app" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting the desktop program on the demo folder $demo"
    echo "A demo baton is put on the simulated station every 30 seconds; close the window to end."
    exec "$app" --demo --data-folder "$demo"
fi
echo "No display: running the headless upload of the demo baton in $demo"
"$root/build/src/cli/dorodure-cli" upload --simulate demo --batons 1 --timeout 120
echo "Done. The site's reports are in: $demo/Head Office"
ls -1 "$demo/Head Office"
