#!/usr/bin/env bash
# Builds everything and runs every test. With SANITIZE=1 (CI does both) the
# protocol, platform and grid tests also run in an AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "${BUILD_DIR:-build}" -j "$(nproc)" --output-on-failure --timeout 300
if [ "${SANITIZE:-0}" = 1 ]; then
  asan_dir=${BUILD_DIR:-build}-asan
  cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALVORN_SANITIZE=ON -DCALVORN_BENCH=OFF >/dev/null
  cmake --build "$asan_dir" -j "$(nproc)" --target tests_ethernet tests_serial tests_grid
  ASAN_OPTIONS=detect_leaks=0 "$asan_dir/tests/tests_ethernet" --gtest_brief=1
  ASAN_OPTIONS=detect_leaks=0 "$asan_dir/tests/tests_serial" --gtest_brief=1
  ASAN_OPTIONS=detect_leaks=0 "$asan_dir/tests/tests_grid" --gtest_brief=1
fi
