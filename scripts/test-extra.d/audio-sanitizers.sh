#!/usr/bin/env bash
# Run by scripts/test.sh after the main tests: the sound engine's tests built once with
# AddressSanitizer and once with ThreadSanitizer, each in a build folder of its own, with only the
# engine's test targets built (the engine runs threads of its own: the reader, the device callbacks).
set -euo pipefail
cd "$(dirname "$0")/../.."
base="${VELVOX_BUILD_DIR:-build}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/audio/thread_suppressions.txt}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/audio/leak_suppressions.txt:print_suppressions=0}"
for sanitizer in address thread; do
  dir="$base-audio-$sanitizer"
  if [ ! -f "$dir/build.ninja" ]; then
    # Line tables are all a sanitizer's report needs; they and -O1 build much faster than -O2 -g.
    cmake -S . -B "$dir" -G Ninja -DVELVOX_SANITIZE=$sanitizer -DVELVOX_GUI=OFF \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
  fi
  cmake --build "$dir" --target audio_tests audio_sound_server_tests --parallel "$(nproc)"
  echo "== sound engine tests under the $sanitizer sanitizer"
  "$dir/tests/audio/audio_tests" --gtest_brief=1
  "$dir/tests/audio/audio_sound_server_tests" --gtest_brief=1
done
