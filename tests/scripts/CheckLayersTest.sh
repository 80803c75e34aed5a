#!/usr/bin/env bash
# The layer check on small made-up trees: a clean one passes, and each kind of upward include,
# and a folder the picture does not know, fails naming the file and line.
set -uo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

expect() {  # expect <wanted exit code> <text the output must hold>...
    local wanted=$1
    shift
    local output code
    output=$(bash "$check" "$tree" 2>&1)
    code=$?
    if [ "$code" -ne "$wanted" ]; then
        echo "FAIL: exit $code, wanted $wanted; output:"$'\n'"$output"
        failures=$((failures + 1))
    fi
    for text in "$@"; do
        if ! grep -qF -- "$text" <<<"$output"; then
            echo "FAIL: output lacks: $text"$'\n'"$output"
            failures=$((failures + 1))
        fi
    done
}

mkdir -p "$tree"/{base,store,config,payment,settings,shell,app,tests/x,build/gen}
printf '#include <string>\n#include "base/Text.h"\n' >"$tree/store/Db.cpp"
printf '#include "store/Db.h"\n#include "base/Text.h"\n' >"$tree/config/Cfg.cpp"
printf '#include "config/Cfg.h"\n#include "payment/Same.h"\n' >"$tree/settings/Keys.cpp"
printf '#include "shell/Page.h"\n#include "app/App.h"\n' >"$tree/tests/x/AnyTest.cpp"
printf '#include "app/App.h"\n' >"$tree/build/gen/moc.cpp"
printf '#include "settings/Keys.h"\n#include "payment/Flow.h"\n' >"$tree/shell/Page.cpp"
expect 0 "every include points down"

printf '#include "base/Text.h"\n\n  #  include "payment/Flow.h"\n' >"$tree/config/Up.cpp"
expect 1 'config/Up.cpp:3: config/ includes "payment/Flow.h" from payment/'
rm "$tree/config/Up.cpp"

printf '#include "shell/Page.h"\n' >"$tree/settings/Up.h"
printf '#include "tests/x/Fake.h"\n' >"$tree/base/Up.h"
mkdir -p "$tree/capture"
printf '// overlay\n#include "app/App.h"\n' >"$tree/capture/Overlay.cpp"
expect 1 'settings/Up.h:1: settings/ includes "shell/Page.h"' \
    'base/Up.h:1: base/ includes "tests/x/Fake.h"' \
    'capture/Overlay.cpp:2: capture/ includes "app/App.h"'
rm "$tree/settings/Up.h" "$tree/base/Up.h" "$tree/capture/Overlay.cpp"

mkdir -p "$tree/extra"
printf 'int x;\n' >"$tree/extra/New.cpp"
expect 1 "extra/New.cpp: folder extra/ has no row in the layer picture"

[ "$failures" -eq 0 ] && echo "check-layers test: all cases passed"
exit $((failures > 0))
