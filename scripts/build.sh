#!/usr/bin/env bash
# Configures and builds one build folder: build.sh FOLDER [cmake options...]
set -euo pipefail
folder=$1
shift
cmake -S "$(dirname "$0")/.." -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$folder" --parallel "$(nproc)"
