#!/usr/bin/env bash
# Sets up a CUPS queue that delivers into a file, so the tests can print through a real spooler.
# Prints the queue's name and its output file as shell assignments, or nothing where a queue
# cannot be set up here (no CUPS, or not root).
set -u
cd "$(dirname "$0")"
queue=ZelvoTestPrinter
folder=/var/tmp/zelvo-cups
backend=/usr/lib/cups/backend/zelvo-file

command -v cupsd >/dev/null && command -v lpadmin >/dev/null || exit 0
[ "$(id -u)" -eq 0 ] || exit 0

install -m 0755 cups-file-backend "$backend" || exit 0
mkdir -p "$folder" && chown lp:lp "$folder" 2>/dev/null
running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! running; then
    mkdir -p /run/cups
    cupsd || exit 0
    for _ in $(seq 50); do running && break; sleep 0.1; done
    running || exit 0
fi
lpadmin -p "$queue" -E -v "zelvo-file:$folder/out.prn" -m raw >/dev/null 2>&1 || exit 0
echo "ZELVO_CUPS_PRINTER=$queue"
echo "ZELVO_CUPS_OUTPUT=$folder/out.prn"
