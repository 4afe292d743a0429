#!/usr/bin/env bash
# Configures and builds Velvox into build/ (or $VELVOX_BUILD_DIR). Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${VELVOX_BUILD_DIR:-build}"
WERROR=OFF
flags=()
if [ -n "${CI:-}" ]; then
  WERROR=ON
  # CI only runs what it builds: without debugging information the build takes a third less.
  flags=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG")
fi
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DVELVOX_WERROR=$WERROR "${flags[@]}" "$@" >/dev/null
fi
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
