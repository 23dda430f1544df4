#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs
# each target (file, ini, tcp, link, server: tests/fuzz/fuzz_targets.h) from
# its corpus in tests/fuzz/corpus/<target>, one after the other, with the same
# fixed seed and number of inputs, so that a run is repeatable. New inputs go
# to a temporary folder; the repository's corpus is not changed.
# FUZZ_RUNS (default 200000) inputs a target, FUZZ_SEED (default 40);
# FUZZ_SECONDS, when set, runs each target that long instead of FUZZ_RUNS
# inputs; FUZZ_TARGETS chooses targets (default all); FUZZ_FOUND keeps the
# new inputs in that folder (one subfolder a target).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}-fuzz
targets=${FUZZ_TARGETS:-file ini tcp link server}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCALVORN_FUZZ=ON -DCALVORN_TESTS=OFF -DCALVORN_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target $(for t in $targets; do echo "${t}_fuzz"; done)
# The scale list's round trip writes a file an input: on a RAM disk when there is one.
scratch=$(mktemp -d -p "$( [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
trap 'rm -rf "$scratch"' EXIT
found=${FUZZ_FOUND:-$scratch/found}
export TMPDIR=$scratch
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -n "${FUZZ_SECONDS:-}" ]; then
  budget=(-max_total_time="$FUZZ_SECONDS")
else
  budget=(-runs="${FUZZ_RUNS:-200000}")
fi
for target in $targets; do
  mkdir -p "$found/$target"
  echo "== $target"
  "$build/tests/fuzz/${target}_fuzz" "${budget[@]}" -seed="${FUZZ_SEED:-40}" \
    -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$found/$target-" "$found/$target" "tests/fuzz/corpus/$target" 2>&1 | tail -12
done
echo "fuzzing passed"
