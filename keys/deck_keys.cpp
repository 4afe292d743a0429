#include "keys/deck_keys.h"

#include <algorithm>

#include "decks/time_display.h"
#include "decks/transport.h"
#include "keys/key_codes.h"
#include "keys/keys.h"
#include "mixer/crossfader.h"
#include "play/selection.h"
#include "play/switching.h"

namespace vx::keys {

namespace {

void playPause(Program& p, int f) {
  decks::PLAYBTNON(p, f);
  p.deck[f].deckIdle = false;
  p.main.label("Totaltime", f).setCaption(decks::totalTimeText(p.player(f).duration()));
}

void cuePressed(Program& p, int f) {
  decks::cuedown(p, f);
  p.main.picture("Play", f).setPicture("cue2.bmp");
  p.deck[f].deckIdle = false;
}

// Moves a held deck's mark by `step` seconds (never before the start) and shows it.
void nudgeMark(Program& p, int f, double step) {
  double& mark = p.deck[f].markPosition;
  mark = std::max(0.0, mark + step);
  p.player(f).setCurrentPosition(mark);
  decks::timecounter(p, f);
}

void upKey(Program& p, int f) {
  if (p.deck[f].holdActive) nudgeMark(p, f, 0.001);
  else play::Presong(p, f);
}

void downKey(Program& p, int f) {
  if (p.deck[f].holdActive) nudgeMark(p, f, -0.001);
  else play::Nextsong(p, f);
}

void pageUpKey(Program& p, int f) {
  if (p.deck[f].holdActive) nudgeMark(p, f, 0.01);
  else p.deck[f].searchForwardHeld = true;
}

void pageDownKey(Program& p, int f) {
  if (p.deck[f].holdActive) nudgeMark(p, f, -0.01);
  else p.deck[f].searchBackHeld = true;
}

struct HeldKey {
  int code;
  void (*action)(Program&, int deck);
};

// Table order is the order of action. Each row reads the focus afresh: Left or Right earlier
// in the same press moves the later rows to the other deck.
constexpr HeldKey kHeldKeys[] = {
    {vk::Backspace, playPause},
    {vk::Space, [](Program& p, int) { play::switching(p); }},
    {vk::Enter, cuePressed},
    {vk::Delete, decks::Stop_Click},
    {vk::Left, [](Program& p, int) { focuschangeA(p); }},
    {vk::Right, [](Program& p, int) { focuschangeB(p); }},
    {vk::Up, upKey},
    {vk::Down, downKey},
    {vk::PageUp, pageUpKey},
    {vk::PageDown, pageDownKey},
    {vk::End, decks::modelabel_Click},
};

}  // namespace

void heldKeys(Program& p) {
  for (const HeldKey& key : kHeldKeys)
    if (Vkey_Down(p, key.code)) key.action(p, p.keys.focusDeck);
}

}  // namespace vx::keys
