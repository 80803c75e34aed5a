#!/usr/bin/env bash
# Starts the cashier in a fresh installation on the test run's X display, where no window
# manager runs, and types at once what an operator types at the counter: the login, an amount
# and a payment code. Only when every key lands in the right box does the payment reach the
# gateway simulator and the transaction log. Exit 77 (skipped) without a display or xdotool, or
# when another cashier on this computer holds the single-instance lock.
set -euo pipefail
zelvo=$1
simulator=$2
source_dir=$3

[ -n "${DISPLAY:-}" ] && command -v xdotool > /dev/null && command -v sqlite3 > /dev/null ||
    exit 77

work=$(mktemp -d)
cashier_pid=
simulator_pid=
cleanup() {
    for pid in $cashier_pid $simulator_pid; do kill "$pid" 2> /dev/null || true; done
    wait 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp "$zelvo" "$work/zelvo"
cp -r "$source_dir/data/pic" "$work/pic"
printf '1.0\n' > "$work/version.xml"
: > "$work/printer-port.txt"
port=$((20000 + RANDOM % 20000))
sqlite3 "$work/MISData.db" < "$source_dir/data/MISData.sql"
sqlite3 "$work/MISData.db" "update SysConfig set Value = '$port' where Name = 'ServerPort'"

"$simulator" --port "$port" > "$work/gateway-sim.log" 2>&1 &
simulator_pid=$!
cd "$work"
ZELVO_NETWORK=online ./zelvo > "$work/zelvo.log" 2>&1 &
cashier_pid=$!

for _ in $(seq 1 600); do
    kill -0 "$cashier_pid" 2> /dev/null || { echo "the cashier ended at start (lock held?)"; exit 77; }
    xdotool search --onlyvisible --name '^Zelvo$' > /dev/null 2>&1 && break
    sleep 0.1
done
# No pause: what is typed right after the window appears must not be lost.
xdotool type --delay 40 "01"
xdotool key Tab
xdotool type --delay 40 "123456"
xdotool key Return
sleep 2
xdotool type --delay 40 "12.30"
xdotool key Return
xdotool type --delay 10 "134567890123456789"
xdotool key Return

paid="select count(*) from TBL_TRANS_LOG where OPER_ID = '01' and RESP_CODE = '00' and TRANS_AMT = 12.30"
for _ in $(seq 1 300); do
    [ "$(sqlite3 "$work/MISData.db" "$paid")" = 1 ] && exit 0
    sleep 0.1
done
echo "no payment was logged; simulator:"
cat "$work/gateway-sim.log"
exit 1
