#include "decks/keylock.h"

#include <string>

#include "decks/monitor.h"

namespace vx::decks {

namespace {

std::string settingKey(int deck) { return "deck" + std::to_string(deck); }

void setKeyLock(Program& p, int deck, bool on) {
  if (p.ports.player[deck]) p.player(deck).setKeyLock(on);
  p.main.picture("keylock", deck).setPicture(on ? "keylock2.bmp" : "keylock1.bmp");
  if (p.monitor.monitorDeck == deck) monitorFollowsKeyLock(p);
}

}  // namespace

void readKeyLockSettings(Program& p) {
  for (int deck = 0; deck < 2; ++deck) setKeyLock(p, deck, p.plus.flag("keylock", settingKey(deck), false));
}

void toggleKeyLock(Program& p, int deck) {
  if (deck < 0 || deck > 1 || !p.ports.player[deck]) return;
  const bool on = !p.player(deck).keyLock();
  setKeyLock(p, deck, on);
  p.plus.setFlag("keylock", settingKey(deck), on);
}

void wireKeyLock(Program& p) {
  for (int deck = 0; deck < 2; ++deck)
    p.main.picture("keylock", deck).events.click = [&p, deck] { toggleKeyLock(p, deck); };
}

}  // namespace vx::decks
