#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR): the targets named as
# arguments (calvorn.sh names the two programs), or everything, every test and
# benchmark included, when none is named.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j "$(nproc)" "${targets[@]}"
