#include "songlist/editing.h"

#include <string>
#include <vector>

#include "songlist/song_list.h"

namespace vx::songlist {
namespace {

void moveSelected(Program& p, int deck, int step) {
  SongList list(p.main, deck);
  const int s = list.visibleSelected();
  if (list.swap(s, s + step)) list.select(s + step);
}

// The entries of a pop-up menu: the menu items whose parent it is, in layout order.
std::vector<std::string> popupEntries(const form::MainForm& form, const std::string& menu) {
  std::vector<std::string> entries;
  for (const auto* c : form.controls()) {
    const auto* item = dynamic_cast<const form::MenuItem*>(c);
    if (item && item->parent == menu) entries.push_back(item->name());
  }
  return entries;
}

void showPopup(Program& p, int deck) {
  const std::string menu = deck == 0 ? "mnuMove0" : "mnuMove1";
  const auto chosen = p.ports.dialogs->popupMenu(menu, popupEntries(p.main, menu));
  if (!chosen) return;
  if (auto* item = p.main.findAs<form::MenuItem>(*chosen); item && item->events.click) item->events.click();
}

}  // namespace

void soat1(Program& p, int deck) { moveSelected(p, deck, +1); }
void soat3(Program& p, int deck) { moveSelected(p, deck, -1); }

void moveDown(Program& p, int deck) {
  const SongList list(p.main, deck);
  const int s = list.visibleSelected();
  if (s >= 0 && s + 1 != list.count()) soat1(p, deck);
}

void moveUp(Program& p, int deck) {
  if (SongList(p.main, deck).visibleSelected() > 0) soat3(p, deck);
}

void soat2(Program& p, int deck) {
  SongList list(p.main, deck);
  list.remove(list.visibleSelected());
}

void soat4(Program& p, int deck) {
  SongList from(p.main, deck);
  const int s = from.visibleSelected();
  if (s < 0) return;
  if (SongList(p.main, 1 - deck).append(from.entry(s))) from.remove(s);
}

void soat5(Program& p) {
  for (int deck = 0; deck < 2; ++deck) SongList(p.main, deck).clear();
}

void songclear(Program& p) {
  const platform::MessageBoxSpec ask{"ソングリストをクリアしますか？", "", platform::MsgButtons::YesNo,
                                     platform::MsgIcon::Question};
  if (p.ports.dialogs->messageBox(ask) == platform::MsgResult::Yes) soat5(p);
}

void title1_MouseDown(Program& p, int deck, const form::MouseEvent& e) {
  SongList list(p.main, deck);
  if (e.button == form::MouseButton::Right && list.visibleSelected() != -1) {
    showPopup(p, deck);
    list.column(Title).setListIndex(-1);
  }
  list.copyVisibleSelection();
}

}  // namespace vx::songlist
