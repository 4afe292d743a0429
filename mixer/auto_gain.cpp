#include "mixer/auto_gain.h"

#include <algorithm>
#include <cmath>

#include "basic/convert.h"
#include "mixer/channel_strip.h"
#include "mixer/volume_law.h"
#include "songlist/song_list.h"
#include "tempo/tempo_cache.h"

namespace vx::mixer {

namespace {

constexpr long kFullCut = 4000;
constexpr const char* kMenu = "autogain";

bool autoGainOn(Program& p) { return p.main.menu(kMenu).checked(); }

long initialTrim(const Program& p) { return kFullCut - 100L * p.settings.initialTrim; }

}  // namespace

long autoGainTrim(double loudness) {
  const double gain = kAutoGainTarget - loudness;  // dB the song must be raised (< 0: lowered)
  if (gain >= 0) return 0;
  return std::min(kFullCut, std::lround(1000 * std::sqrt(-gain)));
}

void applyAutoGain(Program& p, int deck, const std::string& path) {
  if (path.empty() || !autoGainOn(p)) return;
  songlist::SongList list(p.main, deck);
  if (!list.hasSelection(songlist::Trim) || list.selectedValue(songlist::Path) != path) return;
  if (basic::Val(list.selectedValue(songlist::Trim)) != static_cast<double>(initialTrim(p))) return;
  const TempoCacheEntry* analysis = tempo::cachedAnalysis(p, path);
  if (!analysis || !analysis->loudness) return;
  list.setSelectedValue(songlist::Trim, std::to_string(autoGainTrim(*analysis->loudness)));
  trimlinedraw(p, deck);
  volcontrol(p);
}

void autoGainTick(Program& p) {
  for (int deck = 0; deck < 2; ++deck) {
    const std::string& song = p.tempo.songPath[deck];
    if (song == p.mixer.autoGainSeen[deck] || !p.tempo.analysed[deck]) continue;
    p.mixer.autoGainSeen[deck] = song;
    applyAutoGain(p, deck, song);
  }
}

void readAutoGainSetting(Program& p) { p.main.menu(kMenu).setChecked(p.plus.flag("analysis", "autogain", false)); }

void toggleAutoGain(Program& p) {
  form::MenuItem& item = p.main.menu(kMenu);
  item.setChecked(!item.checked());
  p.plus.setFlag("analysis", "autogain", item.checked());
}

}  // namespace vx::mixer
