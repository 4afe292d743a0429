#include "play/loading.h"

#include "basic/convert.h"
#include "decks/pitch.h"
#include "mixer/auto_gain.h"
#include "mixer/channel_strip.h"
#include "mixer/volume_law.h"
#include "songlist/song_list.h"

namespace vx::play {

using songlist::fileTitle;
using songlist::SongList;
using enum songlist::Column;
namespace {

// The monitor follows the deck it monitors. A failed open leaves the known sample rate alone.
bool openInMonitor(Program& p, int deck, const std::string& path) {
  if (!p.monitor.monitorOn || deck != p.monitor.monitorDeck || !p.ports.monitor) return true;
  platform::MonitorInfo info;
  if (p.ports.monitor->open(path, info) == 0) return false;
  p.monitor.monitorSampleRate = info.sampleRate;
  return true;
}

// Each value comes from its own list's selected entry. A list that selects nothing gives none:
// the knob stays where it stands, and the song has no start point or cue point.
void applyStoredLevels(Program& p, int deck, const SongList& list, const std::string& path) {
  if (list.hasSelection(Tempo))
    p.main.picture("pitchbtn", deck).setTop(pitchKnobTop(basic::Val(list.selectedValue(Tempo))));
  // The pitch lock throttles a dragged knob; a load is no drag. Were it honoured here, a load
  // soon after any pitch change (the last load, the other deck's knob) would leave the knob at
  // the song's stored tempo and the player at the old rate.
  p.pitchLockTicks = 0;
  decks::applyPitch(p, deck);
  mixer::trimlinedraw(p, deck);
  // An analysed song reaches the player at its auto gain from its first sample.
  mixer::applyAutoGain(p, deck, path);
  mixer::volcontrol(p);
}

void showLoaded(Program& p, int deck, const SongList& list, const std::string& path) {
  p.deck[deck].deckIdle = true;
  p.main.label("lbfilename", deck).setCaption("");
  p.player(deck).setSelectionStart(list.hasSelection(Start) ? basic::Val(list.selectedValue(Start)) : -1);
  p.main.label("text2", deck).setCaption(list.hasSelection(Title) ? list.selectedValue(Title) : fileTitle(path));
  p.main.label("Totaltime", deck).setCaption("");
  p.main.picture("Pause", deck).setPicture("play1.bmp");
  const bool hasCue = list.hasSelection(Cue) && list.selectedValue(Cue) != "-1";
  p.main.picture("Play", deck).setPicture(hasCue ? "cue2.bmp" : "cue1.bmp");
}

}  // namespace

double pitchKnobTop(double tempo) { return (tempo / 100 - 1) * 3000 + 2400; }

bool title1_DblClick(Program& p, int deck) {
  SongList list(p.main, deck);
  if (list.selected() < 0) return false;
  const std::string path = list.selectedValue(Path);
  p.player(deck).setFileName(path);
  if (p.player(deck).openCheck() || !openInMonitor(p, deck, path)) return false;
  applyStoredLevels(p, deck, list, path);
  showLoaded(p, deck, list, path);
  return true;
}

}  // namespace vx::play
