#!/usr/bin/env bash
# Builds and starts calvorn on its default data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec "${BUILD_DIR:-build}/app/calvorn" "$@"
