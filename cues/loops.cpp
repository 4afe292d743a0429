#include "cues/loops.h"

#include <cmath>

#include "cues/hot_cues.h"
#include "decks/monitor.h"
#include "tempo/tempo_cache.h"

namespace vx::cues {
namespace {

constexpr int kBeatLoops = 5;
constexpr double kBeatLoopBeats[kBeatLoops] = {0.5, 1, 2, 4, 8};

bool hasSong(Program& p, int deck) { return !p.player(deck).fileName().empty() && p.player(deck).sampleRate() > 0; }

double rateOf(Program& p, int deck) { return static_cast<double>(p.player(deck).sampleRate()); }

int64_t frameNow(Program& p, int deck) { return std::llround(p.player(deck).currentPosition() * rateOf(p, deck)); }

int64_t lastFrame(Program& p, int deck) { return static_cast<int64_t>(std::floor(p.player(deck).duration() * rateOf(p, deck))); }

bool looping(Program& p, int deck) { return p.player(deck).loopIn() >= 0; }

void setLoop(Program& p, int deck, int64_t in, int64_t out) {
  p.player(deck).setLoop(in, out);
  p.cues.lastPosition[deck] = p.player(deck).currentPosition();
  showLoop(p, deck);
}

void resize(Program& p, int deck, double factor) {
  auto& player = p.player(deck);
  if (!looping(p, deck)) return;
  const int64_t in = player.loopIn();
  const int64_t length = std::max<int64_t>(1, std::llround(static_cast<double>(player.loopOut() - in) * factor));
  if (in + length > lastFrame(p, deck)) return;
  const int lit = p.cues.beatLoop[deck];
  setLoop(p, deck, in, in + length);
  // The player keeps a loop that lies behind the play head for a later jump back; past the new
  // end, the play head goes on at its place in the loop's first part.
  if (const int64_t now = frameNow(p, deck); now >= in + length) jumpToFrame(p, deck, in + (now - in) % length);
  p.cues.beatLoop[deck] = -1;
  // A beat loop halved or doubled lights the button of its new length, when there is one.
  for (int j = 0; lit >= 0 && j < kBeatLoops; ++j)
    if (kBeatLoopBeats[j] == kBeatLoopBeats[lit] * factor) p.cues.beatLoop[deck] = j;
  showLoop(p, deck);
}

}  // namespace

void showLoop(Program& p, int deck) {
  const bool on = looping(p, deck);
  for (const char* name : {"loopin", "loopout", "loopexit"})
    p.main.picture(name, deck).setPicture(std::string(name) + (on ? "2.bmp" : "1.bmp"));
  for (int j = 0; j < kBeatLoops; ++j) {
    const bool lit = on && p.cues.beatLoop[deck] == j;
    p.main.picture("beatloop", deck * kBeatLoops + j).setPicture("beatloop" + std::to_string(j + 1) + (lit ? "2.bmp" : "1.bmp"));
  }
}

void loopIn(Program& p, int deck) {
  if (!hasSong(p, deck)) return;
  const int64_t now = frameNow(p, deck);
  p.cues.pendingIn[deck] = now;
  if (looping(p, deck) && now < p.player(deck).loopOut()) {
    p.cues.beatLoop[deck] = -1;
    setLoop(p, deck, now, p.player(deck).loopOut());
  }
}

void loopOut(Program& p, int deck) {
  if (!hasSong(p, deck)) return;
  const int64_t in = looping(p, deck) ? p.player(deck).loopIn() : p.cues.pendingIn[deck];
  const int64_t out = frameNow(p, deck);
  if (in < 0 || out <= in) return;
  p.cues.beatLoop[deck] = -1;
  setLoop(p, deck, in, out);
}

void exitLoop(Program& p, int deck) {
  if (!looping(p, deck)) return;
  p.cues.beatLoop[deck] = -1;
  setLoop(p, deck, -1, -1);
}

void halveLoop(Program& p, int deck) { resize(p, deck, 0.5); }
void doubleLoop(Program& p, int deck) { resize(p, deck, 2.0); }

void beatLoop(Program& p, int button) {
  if (button < 0 || button >= 2 * kBeatLoops) return;
  const int deck = button / kBeatLoops, j = button % kBeatLoops;
  if (!hasSong(p, deck)) return;
  if (looping(p, deck) && p.cues.beatLoop[deck] == j) {
    exitLoop(p, deck);
    return;
  }
  const auto* grid = tempo::cachedAnalysis(p, p.player(deck).fileName());
  if (!grid || grid->beatLength <= 0) return;
  // From the beat the play head is in (the half beat, for the half-beat loop).
  const double step = grid->beatLength * std::min(1.0, kBeatLoopBeats[j]);
  const double position = p.player(deck).currentPosition();
  double start = grid->firstBeat + std::floor((position - grid->firstBeat) / step) * step;
  if (start < 0) start += step;
  const double rate = rateOf(p, deck);
  const int64_t in = std::llround(start * rate);
  const int64_t out = std::llround((start + kBeatLoopBeats[j] * grid->beatLength) * rate);
  if (out > lastFrame(p, deck) || out <= in) return;
  p.cues.beatLoop[deck] = j;
  setLoop(p, deck, in, out);
}

void loopTick(Program& p, int deck) {
  auto& player = p.player(deck);
  if (p.cues.songPath[deck] != player.fileName()) songChanged(p, deck);
  if (!looping(p, deck) || player.playState() != platform::Playing) return;
  const double now = player.currentPosition();
  // The headphones play the same song on a player of their own: at each wrap it is placed anew.
  if (now < p.cues.lastPosition[deck] && p.monitor.monitorOn && p.ports.monitor && p.monitor.monitorDeck == deck)
    decks::monitorSeekSeconds(p, now);
  p.cues.lastPosition[deck] = now;
}

}  // namespace vx::cues
