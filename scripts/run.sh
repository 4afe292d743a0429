#!/usr/bin/env bash
# Sets up what is missing, builds and starts Velvox. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec "${VELVOX_BUILD_DIR:-build}/velvox" "$@"
