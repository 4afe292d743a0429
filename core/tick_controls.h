#pragma once
// The main window's controls the main tick reaches on every run, found by name once when the
// program starts (a control lives as long as its form), so that a tick looks nothing up.
#include <array>

#include "form/mainform.h"

namespace vx {

struct TickControls {
  explicit TickControls(const form::MainForm& main);

  struct Deck {
    form::Label& time;      // text2: the time display, the title while the deck stands idle
    form::Label& fileName;  // lbfilename: the title that scrolls while the deck plays
    form::Overview& overview;
    form::Label& tempo;     // bpm: the song's tempo at the deck's speed
  };
  std::array<Deck, 2> deck;
  form::MenuItem& countdown;      // the time display counts down to the song's end
  form::MenuItem& autoplay;       // autoplay2: the automatic mix
  form::MenuItem& autoCrossfade;  // autocrossfadeplay: ... by crossfading
};

}  // namespace vx
