#!/usr/bin/env bash
# Lays out an installation folder from a build: the executables, a fresh MISData.db made from the
# delivered SQL, the pictures, the recognition data, version.xml and the file that stands in for the printer port.
set -euo pipefail
build=$1
install=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

mkdir -p "$install"
for program in zelvo gateway-sim zelvo-mis zelvo-ocr; do
    found=$(find "$build" -type f -name "$program" -perm -u+x | head -n 1)
    [ -n "$found" ] && cp "$found" "$install/"
done
rm -f "$install/MISData.db"
sqlite3 "$install/MISData.db" < "$source_dir/data/MISData.sql"
if [ -d "$source_dir/data/pic" ]; then
    rm -rf "$install/pic"
    cp -r "$source_dir/data/pic" "$install/pic"
fi
# The amount reader's recognition data (English for the digits, Chinese for the labels around
# them): TESSDATA_PREFIX points at the installation folder.
for tessdata in /usr/share/tesseract-ocr/5/tessdata /usr/share/tesseract-ocr/4.00/tessdata; do
    if [ -f "$tessdata/eng.traineddata" ]; then
        cp "$tessdata/eng.traineddata" "$install/"
        [ -f "$tessdata/chi_sim.traineddata" ] && cp "$tessdata/chi_sim.traineddata" "$install/"
        break
    fi
done
printf '1.0\n' > "$install/version.xml"
: > "$install/printer-port.txt"
echo "Installation laid out in $install"
