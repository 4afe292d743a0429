#!/usr/bin/env bash
# Installs the Debian packages Velvox needs to build, run and test. Idempotent: when every
# package is already there it only checks and returns.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev ffmpeg
  libsdl2-dev libsoxr-dev libfluidsynth-dev timgm6mb-soundfont libsamplerate0-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev libaubio-dev libebur128-dev
  librtmidi-dev libjack-jackd2-dev libasound2-dev librubberband-dev
  pulseaudio pulseaudio-utils sox xvfb
  fonts-noto-cjk fonts-dejavu-core
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
