#include "tempo/deck_tempo.h"

#include "basic/convert.h"
#include "tempo/tempo_cache.h"

namespace vx::tempo {
namespace {

form::Label& label(Program& p, int deck) { return p.tickControls.deck.at(deck).tempo; }

void takeResult(Program& p, const platform::TempoResult& r) {
  storeAnalysis(p, r);
  // A tempo the DJ set stays; the file may also be gone by now.
  const double bpm = cachedTempo(p, r.path).value_or(r.bpm);
  // The other deck may hold the same file and wait for the same answer.
  for (int deck = 0; deck < 2; ++deck) {
    if (p.tempo.songPath[deck] != r.path) continue;
    p.tempo.songBpm[deck] = bpm;
    p.tempo.analysing[deck] = false;
    p.tempo.analysed[deck] = cachedAnalysis(p, r.path) != nullptr;
  }
}

void songLoaded(Program& p, int deck, std::string path) {
  auto& t = p.tempo;
  t.songBpm[deck] = 0;
  t.analysing[deck] = false;
  t.analysed[deck] = false;
  t.tapped[deck] = false;
  t.taps[deck].clear();
  t.songPath[deck] = std::move(path);
  const auto& song = t.songPath[deck];
  if (song.empty() || p.player(deck).openCheck()) return;
  if (cachedAnalysis(p, song)) {
    t.analysed[deck] = true;
    t.songBpm[deck] = *cachedTempo(p, song);
    return;
  }
  // A tempo the DJ set, or one from before songs had an overview, shows while the rest of
  // the analysis is under way.
  const double known = cachedTempo(p, song).value_or(0);
  t.songBpm[deck] = known;
  if (!p.ports.tempo) return;
  t.analysing[deck] = known <= 0;
  p.ports.tempo->analyse(deck, song);
}

std::string caption(Program& p, int deck) {
  if (p.tempo.analysing[deck]) return kAnalysingMark;
  const double bpm = shownTempo(p, deck);
  return bpm > 0 ? tempoText(bpm) : "";
}

}  // namespace

void tempoTick(Program& p) {
  for (int deck = 0; deck < 2; ++deck)
    if (std::string path = p.player(deck).fileName(); path != p.tempo.songPath[deck]) songLoaded(p, deck, std::move(path));
  if (p.ports.tempo) p.ports.tempo->deliver([&p](const platform::TempoResult& r) { takeResult(p, r); });
  for (int deck = 0; deck < 2; ++deck) label(p, deck).setCaption(caption(p, deck));
}

double shownTempo(Program& p, int deck) { return p.tempo.songBpm[deck] * p.player(deck).rate(); }

std::string tempoText(double bpm) { return basic::Format(bpm, "0.0"); }

void setSongTempo(Program& p, int deck, double bpm) {
  const std::string path = p.tempo.songPath[deck];
  storeTempo(p, path, bpm);
  for (int d = 0; d < 2; ++d)
    if (p.tempo.songPath[d] == path) p.tempo.songBpm[d] = bpm;
  label(p, deck).setCaption(caption(p, deck));
}

}  // namespace vx::tempo
