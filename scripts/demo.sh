#!/usr/bin/env bash
# Builds a release, lays out a demo installation under build/demo-install and starts the cashier
# there. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
zelvo_install_packages "${ZELVO_PACKAGES[@]}"

build=build/release
install=build/demo-install
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"
bash scripts/lay-out-install.sh "$build" "$install"

cd "$install"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the cashier runs under Xvfb (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1366x768x24" ./zelvo
fi
exec ./zelvo
