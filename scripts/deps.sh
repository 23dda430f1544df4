#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need
# (clang and its libFuzzer runtime for scripts/fuzz.sh), when any is missing.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libsqlcipher-dev
          libgsf-1-dev libgtest-dev fonts-nanum fonts-dejavu-core
          sqlcipher poppler-utils python3-xlrd clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
