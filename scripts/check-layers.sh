#!/usr/bin/env bash
# Checks that every project include points down the layer picture of the developers' guide: a
# folder may include its own files and folders on lower rows. Folders on one row should keep out
# of each other, but are not refused here. tools/, tests/ and bench/ may include anything, and
# nothing else may include them. Exits 1 naming each offending file and line. Checks the tree
# this script belongs to, or the one given as its argument.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Row of each folder, from the bottom up; a folder absent from this table is refused outright.
declare -A row=(
    [base]=0 [platform]=0
    [MISCIL]=1 [store]=1 [recognize]=1
    [config]=2
    [payment]=3 [print]=3
    [operator]=4 [settings]=4
    [shell]=5 [capture]=5 [update]=5
    [app]=6
    [tools]=99 [tests]=99 [bench]=99
)
declare -A free=([tools]=1 [tests]=1 [bench]=1)

failed=0
while IFS= read -r -d '' file; do
    file=${file#./}
    folder=${file%%/*}
    if [ -z "${row[$folder]+set}" ]; then
        echo "check-layers: $file: folder $folder/ has no row in the layer picture (add it to scripts/check-layers.sh)"
        failed=1
        continue
    fi
    [ -n "${free[$folder]+set}" ] && continue
    while IFS=: read -r line target; do
        used=${target%%/*}
        [ "$used" = "$target" ] && continue          # a header beside the file, not a folder
        [ -z "${row[$used]+set}" ] && continue       # not one of ours
        [ "$used" = "$folder" ] && continue
        if [ "${row[$used]}" -gt "${row[$folder]}" ]; then
            echo "check-layers: $file:$line: $folder/ includes \"$target\" from $used/, a higher layer"
            failed=1
        fi
    done < <(awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"]*"/) {
        target = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", target); sub(/"$/, "", target)
        print FNR ":" target }' "$file")
done < <(find . \( -path './build*' -o -path ./.git -o -path ./.cache \) -prune -o -path './*/*' \
    -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) -print0)

if [ "$failed" -ne 0 ]; then
    echo "check-layers: includes must point down the layer picture (see scripts/check-layers.sh)"
    exit 1
fi
echo "check-layers: every include points down the layer picture"
