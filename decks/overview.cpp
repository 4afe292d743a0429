#include "decks/overview.h"

#include <algorithm>
#include <cmath>

#include "basic/convert.h"
#include "decks/search.h"
#include "songlist/song_list.h"
#include "tempo/tempo_cache.h"

namespace vx::decks {

namespace {

constexpr double kTwipsPerPixel = 15;

form::Overview& overview(Program& p, int deck) { return p.tickControls.deck.at(deck).overview; }

// The song's length the columns span, else the player's; 0 = unknown.
double songLength(Program& p, int deck) {
  if (p.deck[deck].overviewSong.empty()) return 0;
  const double analysed = p.deck[deck].overviewLength;
  return analysed > 0 ? analysed : p.player(deck).duration();
}

// A mark of the deck's list entry as a fraction of the song; -1 when unset or not this song's.
double markOf(const songlist::SongList& list, songlist::Column c, double length) {
  if (length <= 0 || !list.hasSelection(c)) return -1;
  const double seconds = basic::Val(list.selectedValue(c));
  return seconds < 0 ? -1 : std::clamp(seconds / length, 0.0, 1.0);
}

form::Overview::Marks marksOf(Program& p, int deck, double length) {
  const songlist::SongList list(p.main, deck);
  if (list.selectedValue(songlist::Path) != p.deck[deck].overviewSong) return {};
  return {markOf(list, songlist::Cue, length), markOf(list, songlist::Start, length),
          markOf(list, songlist::End, length)};
}

void fill(Program& p, int deck) {
  auto& d = p.deck[deck];
  d.overviewSong = p.tempo.songPath[deck];
  d.overviewAnalysed = p.tempo.analysed[deck];
  std::vector<form::Overview::Column> columns;
  const TempoCacheEntry* a = d.overviewAnalysed ? tempo::cachedAnalysis(p, d.overviewSong) : nullptr;
  d.overviewLength = a ? a->seconds : 0;
  if (a && a->seconds > 0) {
    columns.reserve(a->overview.size());
    for (const auto& c : a->overview) columns.push_back({c.low, c.high});
  }
  const auto marks = columns.empty() ? form::Overview::Marks{} : marksOf(p, deck, a->seconds);
  form::Overview::Beats beats;
  if (!columns.empty() && a->beatLength > 0) beats = {a->firstBeat / a->seconds, a->beatLength / a->seconds};
  overview(p, deck).setContent(std::move(columns), marks);
  overview(p, deck).setBeats(beats);
  overview(p, deck).setPosition(0);
}

long pixelOf(const form::Overview& o, double fraction) {
  return std::lround(std::floor(fraction * o.width() / kTwipsPerPixel));
}

void follow(Program& p, int deck) {
  form::Overview& o = overview(p, deck);
  if (o.columns().empty()) return;
  const double length = songLength(p, deck);
  if (length <= 0) return;
  // A cue or end point set while the song is in the deck moves its mark.
  if (const auto marks = marksOf(p, deck, length); !(marks == o.marks())) o.setContent(o.columns(), marks);
  const double fraction = std::clamp(p.player(deck).currentPosition() / length, 0.0, 1.0);
  if (pixelOf(o, fraction) != pixelOf(o, o.position())) o.setPosition(fraction);
}

}  // namespace

void overviewTick(Program& p) {
  for (int deck = 0; deck < 2; ++deck) {
    const auto& d = p.deck[deck];
    if (d.overviewSong != p.tempo.songPath[deck] || d.overviewAnalysed != p.tempo.analysed[deck]) fill(p, deck);
    follow(p, deck);
  }
}

void overviewMouseDown(Program& p, int deck, const form::MouseEvent& e) {
  if (e.button != form::MouseButton::Left || p.deck[deck].overviewSong.empty()) return;
  form::Overview& o = overview(p, deck);
  const double length = songLength(p, deck);
  if (length <= 0 || o.width() <= 0) return;
  const double fraction = std::clamp(e.x / o.width(), 0.0, 1.0);
  searchTo(p, deck, fraction * length);
  follow(p, deck);
}

}  // namespace vx::decks
