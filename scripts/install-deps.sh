#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12 (when missing).
set -euo pipefail
packages=(
    build-essential cmake ninja-build ccache pkg-config clang
    qt6-base-dev qt6-serialport-dev libqt6network6
    libhpdf-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    poppler-utils python3 python3-serial xvfb xauth clang-format desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
