#!/usr/bin/env bash
# Builds the two programs (calvorn and tarnel, not the tests) and starts
# calvorn on its default data folder; arguments go to calvorn.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh calvorn tarnel
exec "${BUILD_DIR:-build}/app/calvorn" "$@"
