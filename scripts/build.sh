#!/usr/bin/env bash
# Configures and builds Velvox into build/ (or $VELVOX_BUILD_DIR). Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${VELVOX_BUILD_DIR:-build}"
WERROR=OFF
[ -n "${CI:-}" ] && WERROR=ON
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DVELVOX_WERROR=$WERROR "$@" >/dev/null
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
