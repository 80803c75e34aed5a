#!/usr/bin/env bash
# Runs a command on an X server of its own, so that its key grabs and keyboard focus meet no
# other test running at the same time. Xvfb picks a free display number itself (-displayfd).
set -euo pipefail
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
server=$!
stop_server() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -f "$display_file"
}
trap stop_server EXIT
for _ in $(seq 1 200); do
    [ -s "$display_file" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
[ -s "$display_file" ] || { echo "Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"
"$@"
