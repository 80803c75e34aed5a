#!/usr/bin/env bash
# Lays out an update folder from a build (version.xml and Moxel.exe, and Moxel.exe.sig when a
# private key is given) and serves it over plain HTTP, so a cashier whose UpdateServer points
# here finds the update at its next start.
#
#   tools/update-server/serve-update.sh BUILD VERSION [--folder DIR] [--port PORT]
#       [--bind ADDRESS] [--key PRIVATE.pem] [--no-serve]
#
# BUILD is a build folder (the cashier "zelvo" is looked for in it) or the executable itself;
# VERSION the version the update announces, above the installed one by more than 0.001.
set -euo pipefail

usage() {
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

[ $# -ge 2 ] || usage
build=$1
version=$2
shift 2
folder=build/update-folder
port=8765
bind=127.0.0.1
key=
serve=1
while [ $# -gt 0 ]; do
    case $1 in
        --folder) folder=$2; shift 2 ;;
        --port) port=$2; shift 2 ;;
        --bind) bind=$2; shift 2 ;;
        --key) key=$2; shift 2 ;;
        --no-serve) serve=0; shift ;;
        *) usage ;;
    esac
done

if ! [[ $version =~ ^[0-9]+(\.[0-9]+)?$ ]]; then
    echo "VERSION must be a decimal number such as 1.1, not '$version'" >&2
    exit 2
fi
if [ -f "$build" ]; then
    executable=$build
else
    executable=$(find "$build" -type f -name zelvo -perm -u+x | head -n 1)
fi
if [ -z "$executable" ] || [ ! -f "$executable" ]; then
    echo "No cashier executable 'zelvo' in $build" >&2
    exit 1
fi

mkdir -p "$folder"
rm -f "$folder/Moxel.exe.sig"
cp "$executable" "$folder/Moxel.exe"
printf '%s\n' "$version" > "$folder/version.xml"
if [ -n "$key" ]; then
    # A detached Ed25519 signature of the executable: 64 raw bytes.
    openssl pkeyutl -sign -inkey "$key" -rawin -in "$folder/Moxel.exe" \
        -out "$folder/Moxel.exe.sig"
fi
echo "Update folder $folder: version $version$([ -n "$key" ] && echo ', signed')"

url="http://$bind:$port/"
echo "Point a cashier at it (in its installation folder):"
echo "  sqlite3 MISData.db \"update SysConfig set Value = '$url' where Name = 'UpdateServer'\""
[ "$serve" = 1 ] || exit 0
echo "Serving $folder on $url (Ctrl+C stops)"
exec python3 -m http.server "$port" --bind "$bind" --directory "$folder"
