#include "play/automix.h"

#include <algorithm>

#include "basic/convert.h"
#include "decks/transport.h"
#include "mixer/crossfader.h"
#include "mixer/volume_law.h"
#include "play/selection.h"
#include "play/switching.h"
#include "songlist/song_list.h"

namespace vx::play {

namespace {

bool option(const Program& p, const char* entry) { return p.main.menu(entry).checked(); }

// The deck's path list selects a song: the one a step of its list starts from.
bool hasSelection(Program& p, int deck) {
  return songlist::SongList(p.main, deck).hasSelection(songlist::Path);
}

bool nearEnd(Program& p, int deck, double lead) {
  auto& player = p.player(deck);
  return player.duration() - lead < player.currentPosition();
}

// The fader already stands at (or within one fade step of) the end of the deck that goes on: a
// switch made for `ending` has happened (a completed fade or a cut), and another one would only
// bring the ending deck back. The step's margin lets the DJ nudge the knob off the very end.
bool alreadyOver(const Program& p, int ending) {
  const double margin = mixer::fadeStepSize(p);
  const double u = mixer::faderPosition(p);
  return ending == 0 ? u >= 500 - margin : u <= -500 + margin;
}

void crossfadeCheck(Program& p) {
  const double lead = p.settings.faderTime[std::clamp(p.mixer.faderPattern, 0, 2)] / 20.0;
  // One Switch a tick: a second one in the same tick would cancel the fade the first began (and
  // leave the checks suspended for good), or with CUT IN throw the fader straight back.
  for (int deck = 0; deck < 2; ++deck) {
    if (nearEnd(p, deck, lead) && hasSelection(p, 1 - deck) && !alreadyOver(p, deck)) {
      switching(p);
      return;
    }
  }
}

void plainCheck(Program& p) {
  const double lead = p.settings.gapTime / 100.0;
  for (int deck = 0; deck < 2; ++deck)
    if (nearEnd(p, deck, lead) && hasSelection(p, 1 - deck)) p.player(1 - deck).play();
}

void selectRandom(Program& p, int deck) {
  form::ListBox& paths = p.main.listBox("List1", deck);
  const int n = paths.listCount();
  const auto pick = static_cast<int>(basic::Int(n * static_cast<double>(p.rnd.next())));
  if (n > 0) paths.setListIndex(pick);
}

// The deck that goes on is silent when the ended one stops (its start came too late for the
// tick's check, or a crossfade was still on its way): it starts at once, and with the automatic
// crossfade the fader is brought over to it unless it already lets it through or is moving.
void keepPlaying(Program& p, int o) {
  if (p.player(o).playState() == platform::Playing) return;
  if (option(p, "autocrossfadeplay") && p.mixer.switchPhase == 0 && switchTarget(p) == o) switching(p);
  startTarget(p, o);
}

void showCueLamp(Program& p, int deck) {
  const bool noCue = songlist::SongList(p.main, deck).selectedValue(songlist::Cue) == "-1";
  p.main.picture("Play", deck).setPicture(noCue ? "cue1.bmp" : "cue2.bmp");
}

}  // namespace

void autoCheck(Program& p) {
  if (!p.tickControls.autoplay.checked() || p.mixer.switchBusy) return;
  if (p.tickControls.autoCrossfade.checked())
    crossfadeCheck(p);
  else
    plainCheck(p);
}

void nonstop(Program& p, int e) {
  if (e != 0 && e != 1) return;
  const int o = 1 - e;
  if (!option(p, "autoplay2") || !hasSelection(p, o)) return;
  if (e == 1 && p.monitor.monitorDeck == 1 && p.ports.monitor) p.ports.monitor->stop();
  p.player(e).stop();
  p.main.label("Totaltime", o).setCaption(decks::totalTimeText(p.player(o).duration()));
  if (option(p, "random")) selectRandom(p, e);
  p.deck[e].deckIdle = true;
  p.main.picture("Pause", o).setPicture("play2.bmp");
  p.main.picture("Pause", e).setPicture("play1.bmp");
  keepPlaying(p, o);
  showCueLamp(p, o);
  play::Nextsong(p, e);
  p.lastPlayedDeck = o;
  if (p.window.barMode) p.main.label("topbar").setCaption(p.main.label("lbfilename", o).caption());
}

void toggleOption(Program& p, const char* entry) {
  form::MenuItem& item = p.main.menu(entry);
  item.setChecked(!item.checked());
}

}  // namespace vx::play
