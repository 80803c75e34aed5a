#!/usr/bin/env bash
# The whole cashier and its hot keys on an X server, in the demo set-up: started, logged in as
# 01, sent away with the hide key (Ctrl+B) while the till shows a total inside the capture
# region, called back with the show key (Ctrl+A). With the amount capture built in
# (ZELVO_EXPECT_CAPTURE=1), the scanner's code typed next must pay exactly that total.
# Usage: hotkey-whole-program.sh BUILD_DIR TILL_SCREEN SCREENSHOT_DIR
set -euo pipefail
# The cashier allows one copy per machine (an abstract socket): a network namespace of its own
# keeps this run apart from any other cashier, and gives the gateway simulator a private
# loopback.
if [ -z "${ZELVO_PRIVATE_NET:-}" ]; then
    if ! unshare --map-root-user --net true 2> /dev/null; then
        echo "skipped: this system gives no private network namespace (unshare)"
        exit 77
    fi
    exec unshare --map-root-user --net env ZELVO_PRIVATE_NET=1 bash "$0" "$@"
fi
ip link set lo up
build=$(cd "$1" && pwd)
till_screen=$(realpath "$2")
screenshots=$(realpath -m "$3")
expect_capture=${ZELVO_EXPECT_CAPTURE:-0}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
total=128.50

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    tail -n 20 zelvo.log >&2 || true
    mkdir -p "$screenshots"
    "$till_screen" grab "$screenshots/whole-program-failure.png" || true
    exit 1
}
# Polls a command for up to 20 seconds.
wait_for() {
    for _ in $(seq 1 200); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}

bash "$source_dir/scripts/lay-out-install.sh" "$build" "$work" > /dev/null
cd "$work"

./gateway-sim --port 0 > gateway-sim.log 2>&1 &
pids+=($!)
wait_for grep -q "listening on" gateway-sim.log || fail "gateway simulator did not start"
port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' gateway-sim.log)
# The till shows its total at 1000,300, clear of the docked cashier; that is the capture region.
sqlite3 MISData.db "update SysConfig set Value = '$port' where Name = 'ServerPort';
    delete from SysConfig where Name = 'CutRect';
    insert into SysConfig(Name, Value) values('CutRect', '1000,300,1200,340');"

ZELVO_NETWORK=online QT_QPA_PLATFORM=xcb ./zelvo > zelvo.log 2>&1 &
cashier=$!
pids+=("$cashier")
main_window() {
    xdotool search --all --onlyvisible --pid "$cashier" --name '^Zelvo$' 2>/dev/null | head -n 1
}
cashier_shown() { [ -n "$(main_window)" ] && ! iconic; }
# Xvfb has no window manager to take a minimised window off the screen; what the cashier asks
# of one shows in its window-manager hints.
iconic() { xprop -id "$window" WM_HINTS 2>/dev/null | grep -q "Iconic"; }
cashier_hidden() { iconic; }
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
window=
wait_for cashier_shown || fail "the cashier's window did not appear"
window=$(main_window)
wait_for focused "$window" || fail "the cashier did not take the keyboard at start"

# Operator 01 logs in from the keyboard, after a click in the ID box (with no window manager the
# freshly started window has the X focus but no box takes the keys before a click).
xdotool mousemove --window "$window" 469 325 click 1
xdotool type --delay 30 01
xdotool key Return
xdotool type --delay 30 123456
xdotool key Return
sleep 1

"$till_screen" show 1000 300 200 40 "$total" &
pids+=($!)
till_window() { xdotool search --onlyvisible --name '^till-screen$' 2>/dev/null | head -n 1; }
till_shown() { [ -n "$(till_window)" ]; }
wait_for till_shown || fail "the till window did not appear"
till=$(till_window)
wait_for focused "$till" || fail "the till did not take the keyboard"

xdotool key ctrl+b
wait_for cashier_hidden || fail "the hide key left the cashier on the screen"
focused "$till" || fail "the hide key took the keyboard from the till"

# Held down as a person would, so the cashier comes up while the key's grab is still active.
xdotool keydown ctrl+a
wait_for cashier_shown || fail "the show key did not bring the cashier back"
wait_for focused "$window" || fail "the show key did not give the cashier the keyboard"
xdotool keyup ctrl+a
mkdir -p "$screenshots"
"$till_screen" grab "$screenshots/whole-program-raised.png"

if [ "$expect_capture" = 1 ]; then
    # The keyboard is in the code box: the scanner's code and Enter pay the total read.
    xdotool type --delay 10 134567890123456789
    xdotool key Return
    paid() { [ -n "$(sqlite3 MISData.db "select TRANS_AMT from TBL_TRANS_LOG" 2>/dev/null)" ]; }
    wait_for paid || fail "no payment was made after the show key"
    amount=$(sqlite3 MISData.db "select printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG")
    [ "$amount" = "$total" ] || fail "paid $amount instead of the till's $total"
    echo "paid the till's total $amount"
fi
echo "hot keys of the whole program: passed"
