#!/usr/bin/env bash
# Builds the file fuzzer with clang (libFuzzer, AddressSanitizer, UBSan) and
# runs it from the corpus in tests/fuzz/corpus for a fixed number of inputs
# with a fixed seed, so that a run is repeatable. New inputs go to a
# temporary folder; the repository's corpus is not changed.
# FUZZ_RUNS (default 100000) inputs, FUZZ_SEED (default 40).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALVORN_FUZZ=ON -DCALVORN_TESTS=OFF -DCALVORN_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target file_fuzz
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$build/tests/fuzz/file_fuzz" -runs="${FUZZ_RUNS:-100000}" -seed="${FUZZ_SEED:-40}" \
  -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  "$found" tests/fuzz/corpus 2>&1 | tail -25
echo "fuzzing passed"
