#!/bin/bash
# Builds the fuzz targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz, then runs each for SECONDS
# (default 60). New crashing inputs land in build-fuzz/findings/<target>/; keep the
# ones worth keeping in fuzz/regressions/<target>/, which ctest replays.
set -euo pipefail
seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
build="$root/build-fuzz"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSIVA_BUILD_FUZZ=ON \
    -DTESSIVA_BUILD_TESTS=OFF -DTESSIVA_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$sanitize -fsanitize=fuzzer-no-link" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build "$build" --target fuzz_sysexparse fuzz_simulator fuzz_syxfile

status=0
for target in sysexparse simulator syxfile; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp -n "$here"/seeds/* "$corpus"/ 2>/dev/null || true
    cp -n "$here/regressions/$target"/* "$corpus"/ 2>/dev/null || true
    echo "== fuzz_$target for ${seconds}s"
    if ! UBSAN_OPTIONS=print_stacktrace=1 "$build/bin/fuzz_$target" "$corpus" \
        -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$findings/" \
        -print_final_stats=1 2>"$build/fuzz_$target.log"; then
        echo "fuzz_$target found a fault: see $build/fuzz_$target.log and $findings"
        status=1
    fi
    grep -E "^(stat::number_of_executed_units|stat::new_units_added|#[0-9]+ +DONE)" \
        "$build/fuzz_$target.log" || true
done
exit $status
