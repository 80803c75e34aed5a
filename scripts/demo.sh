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

# The amount reader's recognition data (English for the digits, Chinese for the labels around
# them): TESSDATA_PREFIX points at the installation folder.
for tessdata in /usr/share/tesseract-ocr/5/tessdata /usr/share/tesseract-ocr/4.00/tessdata; do
    if [ -f "$tessdata/eng.traineddata" ]; then
        cp "$tessdata/eng.traineddata" "$install/"
        [ -f "$tessdata/chi_sim.traineddata" ] && cp "$tessdata/chi_sim.traineddata" "$install/"
        break
    fi
done

cd "$install"

# The demo terminal pays against the gateway simulator (its defaults: port 17601 and the demo
# key), which runs beside the cashier and stops with it.
simulator_pid=
stop_simulator() {
    if [ -n "$simulator_pid" ]; then
        kill "$simulator_pid" 2>/dev/null || true
        wait "$simulator_pid" 2>/dev/null || true
    fi
}
trap stop_simulator EXIT
if [ -x ./gateway-sim ]; then
    ./gateway-sim > gateway-sim.log 2>&1 &
    simulator_pid=$!
    echo "Gateway simulator on 127.0.0.1:17601 (log: $install/gateway-sim.log)."
    # The gateway is on this machine: a computer without a network may still take payments.
    export ZELVO_NETWORK=${ZELVO_NETWORK:-online}
else
    echo "No gateway-sim in the build: payments will find no gateway."
fi

# Saving the settings or logging in again restarts the cashier as a new process, so the run
# ends when no cashier of this installation is left.
run_cashier() {
    local cashier
    cashier=$(pwd)/zelvo
    ./zelvo || true
    while :; do
        local running=
        for process in /proc/[0-9]*; do
            if [ "$(readlink "$process/exe" 2>/dev/null)" = "$cashier" ]; then
                running=1
                break
            fi
        done
        [ -z "$running" ] && break
        sleep 1
    done
}

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the cashier runs under Xvfb (xvfb-run)."
    # xvfb-run goes through sh, which drops exported functions: the function travels as text.
    xvfb-run -a -s "-screen 0 1366x768x24" bash -c "$(declare -f run_cashier); run_cashier"
else
    run_cashier
fi
