#!/usr/bin/env bash
# Sets up what is missing, builds and runs every test: unit tests, scenarios, the sound-server
# end-to-end tests, and the engine tests under AddressSanitizer and ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-layers.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# Hooks register what must be undone when the tests end (pass or fail) with `at_exit COMMAND`.
exit_commands=()
at_exit() { exit_commands+=("$1"); }
run_exit_commands() {
  local c
  for c in "${exit_commands[@]}"; do eval "$c" || true; done
}
trap run_exit_commands EXIT
for hook in scripts/test.d/*.sh; do
  [ -f "$hook" ] && source "$hook"
done
ctest --test-dir "${VELVOX_BUILD_DIR:-build}" --output-on-failure --timeout 300 -j "$(nproc)"
for extra in scripts/test-extra.d/*.sh; do
  [ -f "$extra" ] && bash "$extra"
done
echo "all tests passed"
