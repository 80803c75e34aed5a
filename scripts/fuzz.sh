#!/usr/bin/env bash
# Builds the libFuzzer targets of the gateway library and of the bitmap decoding with clang
# (AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for a bounded time: about a
# minute and a half in all. A crash or a sanitizer report fails the run. Without clang and its fuzzer runtime it skips, successfully.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is not installed; skipping the fuzz targets"
    exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    echo "fuzz: clang has no libFuzzer runtime (libclang-rt-14-dev); skipping the fuzz targets"
    exit 0
fi

build=build/fuzz
seconds=${ZELVO_FUZZ_SECONDS:-20}
targets=(fuzz_OigRsp fuzz_RecvFraming fuzz_MisReq fuzz_Bitmap)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZELVO_FUZZ=ON -DZELVO_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    >"$probe/configure.log" || { cat "$probe/configure.log"; exit 1; }
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
    corpus="$probe/corpus-$target"
    mkdir -p "$corpus"
    cp tests/fuzz/seeds/* "$corpus/"
    echo "fuzz: running $target for ${seconds}s"
    (cd "$probe" && "$OLDPWD/$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 \
        -rss_limit_mb=2048 -print_final_stats=1 "$corpus" 2>"$probe/$target.log") || {
        tail -n 60 "$probe/$target.log"
        echo "fuzz: $target FAILED"
        exit 1
    }
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$probe/$target.log" || true
done
echo "fuzz: all targets ran clean"
