#include "play/selection.h"

#include "play/loading.h"
#include "songlist/song_list.h"

namespace vx::play {

using songlist::SongList;
namespace {

// Selects `index` and loads it, paused at its start. Only a file the player refuses ends the
// step early: when the monitor cannot open the song, the player still holds it, paused.
void loadPaused(Program& p, int deck, int index) {
  SongList(p.main, deck).select(index);
  title1_DblClick(p, deck);
  if (p.player(deck).openCheck()) return;
  p.player(deck).play();
  p.player(deck).pause();
}

void stopIdle(Program& p, int deck) {
  p.deck[deck].deckIdle = true;
  p.player(deck).stop();
}

}  // namespace

void Nextsong(Program& p, int deck) {
  const SongList list(p.main, deck);
  const int n = list.count();
  if (n == 0) return;
  const int s = list.selected();
  loadPaused(p, deck, s + 1 >= n ? 0 : s + 1);
}

void Presong(Program& p, int deck) {
  const SongList list(p.main, deck);
  const int s = list.selected();
  if (s < 0) return;
  loadPaused(p, deck, s == 0 ? list.count() - 1 : s - 1);
}

void SongNext_Click(Program& p, int deck) {
  Nextsong(p, deck);
  stopIdle(p, deck);
}

void SongPre_Click(Program& p, int deck) {
  Presong(p, deck);
  stopIdle(p, deck);
}

}  // namespace vx::play
