# Sourced by scripts/test.sh before the tests run: Debian's free game soundtracks, the real
# songs of tests/audio/real_songs.tsv. For the tests only: nothing ships them. Without them
# (no network, no root) the real-song test skips and says why.
velvox_song_packages=(singularity-music warzone2100-music planetblupi-music-ogg hyperrogue-music
                      fb-music-high xblast-tnt-musics drascula-music)
velvox_missing_songs=()
for p in "${velvox_song_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || velvox_missing_songs+=("$p")
done
if [ ${#velvox_missing_songs[@]} -gt 0 ]; then
  velvox_sudo=""
  [ "$(id -u)" -ne 0 ] && velvox_sudo="sudo -n"
  echo "Installing the real-song packages: ${velvox_missing_songs[*]}"
  { $velvox_sudo apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $velvox_sudo apt-get install -y -qq --no-install-recommends "${velvox_missing_songs[@]}"; } ||
    echo "warning: the real-song packages could not be installed; the real-song test will be skipped" >&2
fi
