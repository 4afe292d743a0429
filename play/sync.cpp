#include "play/sync.h"

#include <chrono>
#include <cmath>

#include "decks/monitor.h"
#include "decks/pitch.h"
#include "tempo/tempo_cache.h"
#include "tempo/deck_tempo.h"

namespace vx::play {

using tempo::setSongTempo;
using tempo::shownTempo;
namespace {

constexpr double kRateSpan = 4500;  // knob twips per unit of rate, as the pitch operation uses
constexpr size_t kTapsNeeded = 4;
constexpr size_t kTapsKept = 8;
constexpr double kTapGap = 2.0;  // seconds: a longer pause starts a new count

void tell(Program& p, const std::string& text) {
  p.ports.dialogs->messageBox({text, "", platform::MsgButtons::OK, platform::MsgIcon::Information});
}

// The knob tops the pointer can reach on the track.
std::pair<double, double> knobTravel(Program& p, int deck) {
  const auto& track = p.main.picture("pitchbase", deck);
  const double half = p.main.picture("pitchbtn", deck).height() / 2;
  return {track.top() - half, track.top() + track.height() - half};
}

double knobTopForRate(double rate) { return (rate - 1) * kRateSpan + decks::kPitchCentre; }

// The beat grid of the deck's song; null without one.
const TempoCacheEntry* grid(Program& p, int deck) {
  const std::string path = p.player(deck).fileName();
  const auto* e = path.empty() ? nullptr : tempo::cachedAnalysis(p, path);
  return e && e->beatLength > 0 ? e : nullptr;
}

// Seconds of real time until the deck's next beat, and between its beats.
std::pair<double, double> nextBeat(Program& p, int deck, const TempoCacheEntry& g) {
  auto& player = p.player(deck);
  const double beats = (player.currentPosition() - g.firstBeat) / g.beatLength;
  return {(std::ceil(beats) - beats) * g.beatLength / player.rate(), g.beatLength / player.rate()};
}

// With the tempos matched, moves the playing deck by less than half a beat so that its beats fall
// on the other deck's: a jump, with the crossfade every jump has (12 ms, no gap). When one deck's
// beats come twice as often, they fall on every other beat of the slower one.
void alignPhase(Program& p, int deck) {
  const auto* own = grid(p, deck);
  const auto* other = grid(p, 1 - deck);
  if (!own || !other || p.player(deck).playState() != platform::Playing) return;
  const auto [ownNext, ownPeriod] = nextBeat(p, deck, *own);
  const auto [otherNext, otherPeriod] = nextBeat(p, 1 - deck, *other);
  const double period = std::min(ownPeriod, otherPeriod);
  double late = std::fmod(ownNext - otherNext, period);
  if (late > period / 2) late -= period;
  if (late < -period / 2) late += period;
  auto& player = p.player(deck);
  player.setCurrentPosition(std::max(0.0, player.currentPosition() + late * player.rate()));
  if (p.monitor.monitorOn && p.ports.monitor && p.monitor.monitorDeck == deck)
    decks::monitorSeekSeconds(p, player.currentPosition());
}

}  // namespace

void syncTempo(Program& p, int deck) {
  const int other = 1 - deck;
  const double own = p.tempo.songBpm[deck];
  const double target = shownTempo(p, other);
  if (own <= 0 || target <= 0) {
    tell(p, "テンポが分からないため合わせられません。");
    return;
  }
  if (p.pitchLockTicks >= 1) return;
  const auto [highest, lowest] = knobTravel(p, deck);
  for (double factor : {1.0, 0.5, 2.0}) {
    const double top = knobTopForRate(target * factor / own);
    if (top < highest || top > lowest) continue;
    p.main.picture("pitchbtn", deck).setTop(top);
    decks::applyPitch(p, deck);
    alignPhase(p, deck);
    return;
  }
  tell(p, "テンポの差がピッチの範囲を超えるため合わせられません。");
}

void tapTempo(Program& p, int deck, double seconds) {
  auto& taps = p.tempo.taps[deck];
  auto& t = p.tempo;
  if (t.songPath[deck].empty() || t.analysing[deck] || (t.songBpm[deck] > 0 && !t.tapped[deck])) return;
  if (!taps.empty() && (seconds - taps.back() > kTapGap || seconds <= taps.back())) taps.clear();
  taps.push_back(seconds);
  if (taps.size() > kTapsKept) taps.erase(taps.begin());
  if (taps.size() < kTapsNeeded) return;
  const double bpm = 60.0 * static_cast<double>(taps.size() - 1) / (taps.back() - taps.front());
  // The tapped tempo is the one heard, at the deck's rate.
  setSongTempo(p, deck, bpm / p.player(deck).rate());
  t.tapped[deck] = true;
}

void tempoKey(Program& p, int keyCode) {
  const int deck = p.keys.focusDeck;
  if (keyCode == kSyncKey) syncTempo(p, deck);
  if (keyCode == kTapKey) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    tapTempo(p, deck, std::chrono::duration<double>(now).count());
  }
}

void wireTempo(Program& p) {
  for (int deck = 0; deck < 2; ++deck) {
    auto& label = p.main.label("bpm", deck);
    label.setTooltip("クリックするともう一方のデッキのテンポに合わせます。");
    label.events.click = [&p, deck] { syncTempo(p, deck); };
  }
}

}  // namespace vx::play
