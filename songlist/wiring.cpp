#include "songlist/wiring.h"

#include <functional>
#include <string>

#include "songlist/adding.h"
#include "songlist/editing.h"
#include "songlist/list_files.h"
#include "songlist/playlists.h"

namespace vx::songlist {
namespace {

using DeckAction = void (*)(Program&, int);

void onClick(form::Control& c, std::function<void()> action) { c.events.click = std::move(action); }

void wirePicture(Program& p, const std::string& name, int deck, DeckAction action) {
  onClick(p.main.picture(name, deck), [&p, deck, action] { action(p, deck); });
}

void wireMenu(Program& p, const std::string& name, int deck, DeckAction action) {
  onClick(p.main.menu(name), [&p, deck, action] { action(p, deck); });
}

void wireVisibleList(Program& p, int deck) {
  auto& list = p.main.listBox("title1", deck);
  list.setTooltip("右ｸﾘｯｸするとﾌｧｲﾙの編集ができます。");
  list.events.dragDrop = [&p, deck](const std::vector<std::string>& paths, int shift) {
    title1_OLEDragDrop(p, deck, paths, shift);
  };
  list.events.mouseDown = [&p, deck](const form::MouseEvent& e) { title1_MouseDown(p, deck, e); };
}

void wireDeck(Program& p, int deck) {
  wireVisibleList(p, deck);
  wirePicture(p, "Imgdell", deck, soat2);
  wirePicture(p, "Imgup", deck, moveUp);
  wirePicture(p, "Imgdwn", deck, moveDown);
  const std::string n = std::to_string(deck);
  wireMenu(p, "mnuUp" + n, deck, moveUp);
  wireMenu(p, "mnuDown" + n, deck, moveDown);
  wireMenu(p, "mnuDel" + n, deck, soat2);
  wireMenu(p, deck == 0 ? "toB" : "toA", deck, soat4);
  wireMenu(p, "mnuM3u" + n, deck, saveM3u8);
}

}  // namespace

void wireSongLists(Program& p) {
  for (int deck = 0; deck < 2; ++deck) wireDeck(p, deck);
  wirePicture(p, "ImgtoB", -1, [](Program& q, int) { soat4(q, 0); });
  wirePicture(p, "ImgtoA", -1, [](Program& q, int) { soat4(q, 1); });
  onClick(p.main.menu("songlistload"), [&p] { songlistload(p); });
  onClick(p.main.menu("songlist0"), [&p] { songlist0(p); });
  onClick(p.main.menu("songclear"), [&p] { songclear(p); });
}

}  // namespace vx::songlist
