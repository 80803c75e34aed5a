#!/usr/bin/env bash
# Runs the fuzzers when they were built, then CTest, whose summary closes the output.
set -euo pipefail
build=$1
if [ -x scripts/fuzz.sh ]; then
    bash scripts/fuzz.sh
fi
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
