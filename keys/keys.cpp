#include "keys/keys.h"

#include "decks/keylock.h"
#include "decks/transport.h"
#include "keys/deck_keys.h"
#include "keys/key_codes.h"
#include "keys/mixer_keys.h"
#include "play/sync.h"
#include "sampler/sampler.h"

namespace vx::keys {

namespace {

constexpr int kKeyCodes = 256;

bool isKeyCode(int keyCode) { return keyCode >= 0 && keyCode < kKeyCodes; }

void releaseSampleKey(Program& p, int slot) {
  if (sampler::slotSilencer(p, slot)) {
    for (auto* player : p.ports.player)
      if (player) player->setMute(false);
  }
  p.keys.sampleKeyHeld[static_cast<size_t>(slot)] = false;
}

}  // namespace

bool Vkey_Down(const Program& p, int keyCode) { return isKeyCode(keyCode) && p.keys.down.test(static_cast<size_t>(keyCode)); }

void MainForm_KeyDown(Program& p, int keyCode, int) {
  const bool repeated = Vkey_Down(p, keyCode);  // a held key's repeats do not toggle again
  if (isKeyCode(keyCode)) p.keys.down.set(static_cast<size_t>(keyCode));
  heldKeys(p);
  pressedKey(p, keyCode);
  if (keyCode == decks::kKeyLockKey && !repeated) decks::toggleKeyLock(p, p.keys.focusDeck);
  play::tempoKey(p, keyCode);
}

void MainForm_KeyUp(Program& p, int keyCode, int) {
  if (isKeyCode(keyCode)) p.keys.down.reset(static_cast<size_t>(keyCode));
  const int f = p.keys.focusDeck;
  DeckState& d = p.deck[f];
  switch (keyCode) {
    case vk::Enter: decks::cueup(p, f); break;
    case vk::PageUp: if (!d.holdActive) d.searchForwardHeld = false; break;
    case vk::PageDown: if (!d.holdActive) d.searchBackHeld = false; break;
    default:
      if (const int slot = sampleSlotOfKey(keyCode); slot >= 0) releaseSampleKey(p, slot);
      break;
  }
}

void keyboardFocusLost(Program& p) {
  p.keys.down.reset();
  p.keys.sampleKeyHeld.fill(false);
}

void focuschangeA(Program& p) {
  p.main.label("Keyfocus", 0).setVisible(true);
  p.main.label("Keyfocus", 1).setVisible(false);
  p.keys.focusDeck = 0;
}

void focuschangeB(Program& p) {
  p.main.label("Keyfocus", 0).setVisible(false);
  p.main.label("Keyfocus", 1).setVisible(true);
  p.keys.focusDeck = 1;
}

void wireKeys(Program& p) {
  p.main.keyDown = [&p](int keyCode, int shift) { MainForm_KeyDown(p, keyCode, shift); };
  p.main.keyUp = [&p](int keyCode, int shift) { MainForm_KeyUp(p, keyCode, shift); };
  p.main.deactivate = [&p] { keyboardFocusLost(p); };
}

}  // namespace vx::keys
