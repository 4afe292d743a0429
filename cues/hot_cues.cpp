#include "cues/hot_cues.h"

#include <algorithm>
#include <cmath>

#include "cues/cue_store.h"
#include "cues/loops.h"
#include "decks/monitor.h"
#include "tempo/tempo_cache.h"

namespace vx::cues {
namespace {

bool hasSong(Program& p, int deck) {
  auto& player = p.player(deck);
  return !player.fileName().empty() && !player.openCheck() && player.sampleRate() > 0;
}

void lightPads(Program& p, int deck) {
  for (int i = 0; i < kHotCues; ++i) {
    const bool set = p.cues.hot[deck][i] >= 0;
    p.main.picture("hotcue", deck * kHotCues + i)
        .setPicture("hotcue" + std::to_string(i + 1) + (set ? "2.bmp" : "1.bmp"));
  }
}

SongCues stamp(const std::string& path) {
  const auto now = tempo::fileStamp(path);
  return now ? SongCues{now->size, now->mtime, {}} : SongCues{};
}

// Another file under the deck's song's name, loaded again under it: the pads show the old one's.
bool replaced(Program& p, int deck) {
  const SongCues now = stamp(p.cues.songPath[deck]);
  return now.size != p.cues.loaded[deck].size || now.mtime != p.cues.loaded[deck].mtime;
}

}  // namespace

void jumpToFrame(Program& p, int deck, int64_t frame) {
  auto& player = p.player(deck);
  const double seconds = static_cast<double>(frame) / static_cast<double>(player.sampleRate());
  // A jump past the loop's end would leave the loop lit but never reached again.
  if (player.loopOut() >= 0 && frame >= player.loopOut()) exitLoop(p, deck);
  player.setCurrentPosition(seconds);
  p.cues.lastPosition[deck] = player.currentPosition();
  if (p.monitor.monitorOn && p.ports.monitor && p.monitor.monitorDeck == deck) decks::monitorSeekSeconds(p, seconds);
}

void hotCuePress(Program& p, int pad, bool clear) {
  if (pad < 0 || pad >= 2 * kHotCues) return;
  const int deck = pad / kHotCues, i = pad % kHotCues;
  if (!hasSong(p, deck)) return;
  if (p.cues.songPath[deck] != p.player(deck).fileName() || replaced(p, deck)) songChanged(p, deck);
  int64_t& cue = p.cues.hot[deck][i];
  if (!clear && cue >= 0) {
    jumpToFrame(p, deck, cue);
    return;
  }
  if (clear && cue < 0) return;
  if (clear) {
    cue = -1;
  } else {
    auto& player = p.player(deck);
    const double rate = static_cast<double>(player.sampleRate());
    const auto last = static_cast<int64_t>(std::floor(player.duration() * rate));
    cue = std::clamp<int64_t>(std::llround(player.currentPosition() * rate), 0, std::max<int64_t>(last, 0));
  }
  storeCues(p, p.cues.songPath[deck], p.cues.hot[deck]);
  lightPads(p, deck);
}

void songChanged(Program& p, int deck) {
  auto& player = p.player(deck);
  const bool song = hasSong(p, deck);
  p.cues.songPath[deck] = player.fileName();
  p.cues.loaded[deck] = stamp(player.fileName());
  if (song) p.cues.hot[deck] = storedCues(p, player.fileName());
  else p.cues.hot[deck].fill(-1);
  p.cues.pendingIn[deck] = -1;
  p.cues.beatLoop[deck] = -1;
  p.cues.lastPosition[deck] = player.currentPosition();
  lightPads(p, deck);
  showLoop(p, deck);
}

}  // namespace vx::cues
