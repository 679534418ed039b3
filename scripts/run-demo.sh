#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program on a demo data folder
# with the simulated upload station and a demo baton.
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
    exec "$app" --demo
fi
echo "No display (or no desktop program yet): running the headless upload in $demo"
"$root/build/src/cli/dorodure-cli" upload --simulate demo --batons 1 --timeout 120
echo "Done. The site's reports are in: $demo/Head Office"
ls -1 "$demo/Head Office"
