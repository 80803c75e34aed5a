#!/usr/bin/env bash
# Builds a release, lays out a demo installation under build/demo-install and starts the cashier
# there. Without a display it runs under Xvfb. --vnc shares the display on 127.0.0.1:5900.
set -euo pipefail
cd "$(dirname "$0")/.."
vnc=
for arg in "$@"; do
    case "$arg" in
        --vnc) vnc=1 ;;
        *) echo "usage: scripts/demo.sh [--vnc]" >&2; exit 2 ;;
    esac
done
source scripts/packages.sh
zelvo_install_packages "${ZELVO_PACKAGES[@]}"

build=build/release
install=build/demo-install
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELVO_BUILD_TESTS=OFF
# Only what the demo runs.
cmake --build "$build" -j "$(nproc)" --target zelvo gateway-sim zelvo-mis zelvo-ocr
bash scripts/lay-out-install.sh "$build" "$install"

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

# With --vnc, a VNC server shares the display (local connections only) while the cashier runs.
run_demo() {
    local vnc_pid=
    if [ -n "$vnc" ]; then
        x11vnc -display "$DISPLAY" -localhost -nopw -forever -shared -rfbport 5900 \
            > x11vnc.log 2>&1 &
        vnc_pid=$!
        echo "VNC: display $DISPLAY on 127.0.0.1:5900 (log: $(pwd)/x11vnc.log)."
        echo "  Here: vncviewer 127.0.0.1::5900"
        echo "  From another computer: ssh -L 5900:127.0.0.1:5900 <this machine>, then the same."
    fi
    run_cashier
    if [ -n "$vnc_pid" ]; then kill "$vnc_pid" 2>/dev/null || true; fi
}

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the cashier runs under Xvfb (xvfb-run)."
    # xvfb-run goes through sh, which drops exported functions: the functions travel as text.
    xvfb-run -a -s "-screen 0 1366x768x24" \
        bash -c "vnc=$vnc; $(declare -f run_cashier run_demo); run_demo"
else
    run_demo
fi
