#!/usr/bin/env bash
# Builds everything and runs every test. With SANITIZE=1 (CI does both) every
# test also runs in an AddressSanitizer/UBSan build with leak checks, and the
# protocol, ethernet and serial tests in a ThreadSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "${BUILD_DIR:-build}" -j "$(nproc)" --output-on-failure --timeout 300
[ "${SANITIZE:-0}" = 1 ] || exit 0

build=${BUILD_DIR:-build}
supp=$PWD/scripts/sanitizers
test_targets=$(sed -n 's/^foreach(dir \(.*\))$/\1/p' tests/CMakeLists.txt | head -1)
targets=(tests_platform)
for dir in $test_targets; do
  [ -f "$dir/CMakeLists.txt" ] && targets+=("tests_$dir")
done
# Test discovery runs the binaries at build time: no leak report there.
export ASAN_OPTIONS=detect_leaks=0
cmake -S . -B "$build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALVORN_SANITIZE=ON -DCALVORN_BENCH=OFF >/dev/null
cmake --build "$build-asan" -j "$(nproc)" --target "${targets[@]}"
cmake -S . -B "$build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALVORN_TSAN=ON -DCALVORN_BENCH=OFF >/dev/null
cmake --build "$build-tsan" -j "$(nproc)" --target tests_protocol tests_ethernet tests_serial

# Deadlines of the tests stretch for the slower builds.
export CALVORN_TEST_TIME_SCALE=10
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build-asan" -j "$(nproc)" --output-on-failure --timeout 600
export TSAN_OPTIONS=report_signal_unsafe=0:second_deadlock_stack=1:halt_on_error=1
# Only the protocol tests are built here; the others show as NOT_BUILT.
ctest --test-dir "$build-tsan" -j "$(nproc)" --output-on-failure --timeout 600 -E '_NOT_BUILT$'
echo "sanitizer runs passed"
