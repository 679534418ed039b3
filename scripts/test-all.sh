#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the normal build (with
# warnings as errors), the AddressSanitizer + UndefinedBehaviorSanitizer build
# and the ThreadSanitizer build of the baton link, checks the formatting, and,
# as root, builds the Debian package and tries it on a clean Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

scripts/check-format.sh
desktop-file-validate packaging/example.dorodure.Uploader.desktop
appstreamcli validate --no-net packaging/example.dorodure.Uploader.metainfo.xml

scripts/build.sh build -DDORODURE_WERROR=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600

scripts/build.sh build-asan -DDORODURE_WERROR=ON -DDORODURE_SANITIZE=address,undefined \
    -DDORODURE_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" --timeout 900

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDORODURE_WERROR=ON \
    -DDORODURE_SANITIZE=thread -DDORODURE_BUILD_APP=OFF -DDORODURE_BUILD_BENCH=OFF >/dev/null
if compgen -G "tests/link/*.cpp" >/dev/null; then
    cmake --build build-tsan --parallel "$(nproc)" --target test_link
    # The network serial tests start a Python server from the threaded test program.
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 die_after_fork=0" \
        ctest --test-dir build-tsan --output-on-failure -L '^link$' --timeout 900
fi

# The Debian package, installed on a clean Debian 12 and started there. It
# needs root (debootstrap, chroot, mounts); elsewhere it is skipped, loudly.
if [ "$(id -u)" -eq 0 ] && [ "${DORODURE_SKIP_PACKAGE_TEST:-0}" != 1 ]; then
    scripts/package-test.sh
else
    echo "package test SKIPPED (needs root; run scripts/package-test.sh as root)"
fi
echo "All tests passed."
