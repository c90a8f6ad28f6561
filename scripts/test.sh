#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and
# runs every test; then builds the whole suite again with AddressSanitizer
# and UndefinedBehaviorSanitizer in build-asan and runs it there.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -G Ninja -DTESSIVA_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2

# TESSIVA_SANITIZE=0 skips the sanitizer pass for a quick local run.
[ "${TESSIVA_SANITIZE:-1}" = 1 ] || exit 0

# Memory errors, leaks and undefined behaviour end the test that meets them.
# Only leaks inside libjack and RtMidi are let through (see the file). It is
# a debug build, so Qt's own container bounds checks are on as well; -O1 and
# line tables only keep its compile time near that of the plain build.
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DTESSIVA_WERROR=ON -DTESSIVA_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1 \
    UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0" \
    ctest --test-dir build-asan --output-on-failure -j2
