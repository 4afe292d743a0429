#include "decks/transport.h"

#include <algorithm>
#include <cmath>

#include "basic/convert.h"
#include "decks/monitor.h"
#include "decks/time_display.h"
#include "mixer/volume_law.h"
#include "recorder/recorder.h"
#include "songlist/song_list.h"

namespace vx::decks {

namespace {

constexpr double kPressOffset = 10;  // twips a pressed transport button moves down

form::Picture& cueButton(Program& p, int deck) { return p.main.picture("Play", deck); }
form::Picture& playButton(Program& p, int deck) { return p.main.picture("Pause", deck); }

bool playing(Program& p, int deck) { return p.player(deck).playState() == platform::Playing; }
bool empty(Program& p, int deck) { return p.player(deck).fileName().empty(); }
bool isMonitorDeck(const Program& p, int deck) { return p.monitor.monitorDeck == deck; }
bool monitorUsable(const Program& p) { return p.monitor.monitorOn && p.ports.monitor; }
// The monitor plays the monitored deck's song: cueing the other deck must not move or pause what
// the DJ is listening to in the headphones.
bool monitorFollows(const Program& p, int deck) { return monitorUsable(p) && isMonitorDeck(p, deck); }

void monitorPause(Program& p, int deck) {
  if (!monitorFollows(p, deck)) return;
  p.ports.monitor->pause();
  p.monitor.monitorState = 2;
}

// Players differ in what a negative position does; the transport never asks for one.
void seek(Program& p, int deck, double seconds) {
  p.player(deck).setCurrentPosition(std::max(0.0, seconds));
}

// The selected song's cue point cut to whole milliseconds; a point never set ("-1"), or a cue
// list that selects nothing, is the song's start.
double cuePoint(Program& p, int deck) {
  const songlist::SongList list(p.main, deck);
  if (!list.hasSelection(songlist::Cue)) return 0;
  double value = basic::Val(list.selectedValue(songlist::Cue));
  return std::max(0.0, basic::Int(value * 1000) / 1000);
}

void pausePlayingDeck(Program& p, int deck) {
  if (!playing(p, deck)) return;
  p.player(deck).pause();
  monitorPause(p, deck);
  playButton(p, deck).setPicture("play1.bmp");
}

void showTotaltime(Program& p, int deck) {
  p.main.label("Totaltime", deck).setCaption(totalTimeText(p.player(deck).duration()));
}

void press(form::Picture& button) { button.setTop(button.top() + kPressOffset); }
void release(form::Picture& button) { button.setTop(button.top() - kPressOffset); }

// Resumes a parked deck from where it stands.
void playFromStandby(Program& p, int deck) {
  p.player(deck).play();
  if (isMonitorDeck(p, deck)) vbmp3play(p);
  p.deck[deck].cueStandby = false;
  p.deck[deck].holdActive = false;
}

void freezeOnMark(Program& p, int deck) {
  DeckState& d = p.deck[deck];
  d.markPosition = p.player(deck).currentPosition();
  d.jogBase = d.markPosition;
  d.stutterArmed = true;
  timecounter(p, deck);
  d.holdActive = true;
}

// Returns false when the deck has no file (nothing was done).
bool startPlaying(Program& p, int deck) {
  if (empty(p, deck)) return false;
  mixer::volcontrol(p);
  p.player(deck).play();
  if (isMonitorDeck(p, deck)) vbmp3play(p);
  if (p.recorder.autoRecordStart && p.recorder.recorderArmed) recorder::startRecording(p);
  return true;
}

// Each point goes to its own list's selected entry; a list that selects nothing takes nothing,
// so a mark never lands on a song the deck may not hold.
void setMarkText(songlist::SongList& list, songlist::Column column, double mark) {
  list.setSelectedValue(column, basic::Str(mark));
}

}  // namespace

std::string totalTimeText(double seconds) {
  long whole = 0;
  if (std::isfinite(seconds) && seconds > 0) {
    try {
      whole = basic::CLng(seconds);
    } catch (const basic::OverflowError&) {
      whole = 0;
    }
  }
  return "/" + basic::Format(static_cast<double>(whole / 60), "00") + "'" +
         basic::Format(static_cast<double>(whole % 60), "00");
}

void PLAYBTNON(Program& p, int deck) {
  DeckState& d = p.deck[deck];
  if (d.cueStandby) {
    playFromStandby(p, deck);
    return;
  }
  if (d.holdActive) {
    p.player(deck).stop();
    d.stutterArmed = false;
    d.holdActive = false;
    cueButton(p, deck).setPicture("cue2.bmp");
    // Not playing now: falls through to resume from the current position.
  } else if (playing(p, deck)) {
    freezeOnMark(p, deck);
    p.lastPlayedDeck = deck;
    return;
  }
  if (startPlaying(p, deck)) p.lastPlayedDeck = deck;
}

void Pause_MouseDown(Program& p, int deck) {
  PLAYBTNON(p, deck);
  p.deck[deck].deckIdle = false;
  playButton(p, deck).setPicture("play2.bmp");
  press(playButton(p, deck));
  showTotaltime(p, deck);
}

void Pause_MouseUp(Program& p, int deck) { release(playButton(p, deck)); }

void cuedown(Program& p, int deck) {
  DeckState& d = p.deck[deck];
  if (d.cueStandby) {
    p.player(deck).play();
    if (monitorFollows(p, deck)) {
      // Resumes a monitor that parking paused; one that was not playing when the deck parked
      // (a song just loaded, a stopped deck) is started, or the pre-listen would stay silent.
      vbmp3play(p);
      p.monitor.monitorState = 3;
    }
    return;
  }
  if (d.holdActive) {
    pausePlayingDeck(p, deck);
    markstore(p, deck);
    d.stutterArmed = false;
  }
  if (empty(p, deck)) return;
  mixer::volcontrol(p);
  pausePlayingDeck(p, deck);
  seek(p, deck, cuePoint(p, deck));
  d.jogBase = p.player(deck).currentPosition();
  seek(p, deck, d.markPosition);
  if (monitorFollows(p, deck)) {
    monitorSeekSeconds(p, d.markPosition);
    p.ports.monitor->pause();
  }
  d.holdActive = true;
  d.cueStandby = true;
  p.main.label("lbfilename", deck).setCaption(kCueStandbyText);
}

void cueup(Program& p, int deck) {
  if (!p.deck[deck].cueStandby || empty(p, deck)) return;
  pausePlayingDeck(p, deck);
  seek(p, deck, cuePoint(p, deck));
  if (monitorFollows(p, deck)) monitorSeekSeconds(p, p.player(deck).currentPosition());
  timecounter(p, deck);
  mixer::volcontrol(p);
  p.deck[deck].cueStandby = true;
  p.main.label("lbfilename", deck).setCaption(kCueStandbyText);
}

void Play_MouseDown(Program& p, int deck) {
  cuedown(p, deck);
  cueButton(p, deck).setPicture("cue2.bmp");
  press(cueButton(p, deck));
  p.deck[deck].deckIdle = false;
}

void Play_MouseUp(Program& p, int deck) {
  cueup(p, deck);
  showTotaltime(p, deck);
  release(cueButton(p, deck));
}

void markstore(Program& p, int deck) {
  songlist::SongList list(p.main, deck);
  if (list.selected() < 0) return;
  const double mark = p.deck[deck].markPosition;
  const std::string& mode = p.main.label("modelabel", deck).caption();
  if (mode == "CUE") {
    setMarkText(list, songlist::Cue, mark);
  } else if (mode == "START") {
    setMarkText(list, songlist::Start, mark);
    p.player(deck).setSelectionStart(mark);
  } else if (mode == "END") {
    setMarkText(list, songlist::End, mark);
  } else if (mode == "RESET") {
    list.setSelectedValue(songlist::Cue, "0");
    list.setSelectedValue(songlist::Start, "-1");
    list.setSelectedValue(songlist::End, "-1");
    p.player(deck).setSelectionStart(-1);
    p.player(deck).setSelectionEnd(-1);
  }
}

void modelabel_Click(Program& p, int deck) {
  form::Label& label = p.main.label("modelabel", deck);
  constexpr int n = static_cast<int>(std::size(kModes));
  for (int i = 0; i < n; ++i) {
    if (label.caption() == kModes[i]) {
      label.setCaption(kModes[(i + 1) % n]);
      return;
    }
  }
}

void Stop_Click(Program& p, int deck) {
  DeckState& d = p.deck[deck];
  // Cleared whatever the state: STOP always ends in "loaded", never in a half-parked deck.
  d.holdActive = false;
  d.stutterArmed = false;
  d.cueStandby = false;
  d.deckIdle = true;
  p.player(deck).stop();
  if (monitorFollows(p, deck)) p.ports.monitor->stop();
  seek(p, deck, 0);
  p.main.label("text2", deck).setCaption(deckTitle(p, deck));
  p.main.label("Totaltime", deck).setCaption("");
  playButton(p, deck).setPicture("play1.bmp");
}

void Stop_MouseDown(Program& p, int deck) { p.main.picture("Stop", deck).setPicture("stop2.bmp"); }
void Stop_MouseUp(Program& p, int deck) { p.main.picture("Stop", deck).setPicture("stop1.bmp"); }

}  // namespace vx::decks
