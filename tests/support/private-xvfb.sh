#!/usr/bin/env bash
# Runs a command on an X server of its own, so that its key grabs and keyboard focus meet no
# other test running at the same time. The display number is drawn well above the low numbers
# that a machine's own displays take, and the server must answer a client before the command
# runs: a number that another server shadows (one whose lock file this machine cannot see) is
# given up for another.
set -euo pipefail
display_file=$(mktemp)
server=
stop_server() {
    [ -n "$server" ] || return 0
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    server=
}
trap 'stop_server; rm -f "$display_file"' EXIT

server_alive() {
    local state
    [ -r "/proc/$server/stat" ] || return 1
    read -r _ _ state _ <"/proc/$server/stat" || return 1
    [ "$state" != Z ]
}

# Starts Xvfb on display $1; succeeds once a client can open that display.
start_server() {
    : >"$display_file"
    # -noreset: a server resets when its last client leaves, and the command's first client,
    # coming right after the check's, would meet a server that refuses connections meanwhile.
    Xvfb ":$1" -displayfd 3 -screen 0 1366x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
    server=$!
    for _ in $(seq 1 200); do
        [ -s "$display_file" ] && break
        server_alive || return 1
        sleep 0.05
    done
    [ -s "$display_file" ] && xdpyinfo -display ":$1" >/dev/null 2>&1
}

for _ in $(seq 1 20); do
    number=$((100 + RANDOM % 900))
    if start_server "$number"; then
        export DISPLAY=":$number"
        status=0
        "$@" || status=$?
        exit "$status"
    fi
    stop_server
done
echo "no X server of its own could be started" >&2
exit 1
