#include "core/tick_controls.h"

namespace vx {

namespace {

TickControls::Deck deckOf(const form::MainForm& main, int deck) {
  return {main.label("text2", deck), main.label("lbfilename", deck), main.get<form::Overview>("overview", deck),
          main.label("bpm", deck)};
}

}  // namespace

TickControls::TickControls(const form::MainForm& main)
    : deck{deckOf(main, 0), deckOf(main, 1)},
      countdown(main.menu("countdown")),
      autoplay(main.menu("autoplay2")),
      autoCrossfade(main.menu("autocrossfadeplay")) {}

}  // namespace vx
