#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test. Exits 0 only when all passed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check-layers.sh
source scripts/packages.sh
zelvo_install_packages "${ZELVO_PACKAGES[@]}"

build=build/test
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELVO_SANITIZE=ON
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A CUPS queue that delivers into a file, for the test that prints through a real spooler.
eval "$(bash scripts/cups-queue.sh)"
export ZELVO_CUPS_PRINTER ZELVO_CUPS_OUTPUT
# Tests that need a real X server get one display for the whole run.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1366x768x24" bash scripts/run-tests.sh "$build"
fi
exec bash scripts/run-tests.sh "$build"
