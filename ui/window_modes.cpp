#include "ui/window_modes.h"

#include "basic/version.h"
#include "ui/skin.h"

namespace vx::ui {

namespace {

constexpr const char* kMainMenus[] = {"file", "autoplay", "hyouji", "setting", "skin", "version"};
constexpr const char* kMiniButtons[] = {"miniplay", "ministop", "minipre", "mininext"};

void setMenuBar(Program& p, bool shown) {
  for (const char* name : kMainMenus) p.main.menu(name).setVisible(shown);
}

void placeMiniButtons(Program& p, double top) {
  for (const char* name : kMiniButtons) p.main.picture(name).setTop(top);
}

// The DJ panel hangs below the other panels, where the window ends without it, so showing it
// only lengthens the window. A skin without the DJ button's pictures does not stop the layout.
void placeDjPanel(Program& p, double top) {
  const bool shown = p.window.djPanelShown;
  showAddedPicture(p, p.main.picture("Imgdj"), shown ? "dj2.bmp" : "dj1.bmp");
  form::Picture& panel = p.main.picture("djpanel");
  panel.setTop(top);
  panel.setVisible(shown);
}

void setWindowSize(Program& p, double width, double height) {
  p.main.width = width;
  p.main.height = height;
  p.main.touch();
}

}  // namespace

double windowHeight(bool samplerShown, bool songListShown) {
  if (samplerShown) return songListShown ? 8640 : 6480;
  return songListShown ? 7600 : 5460;
}

void layoutWindow(Program& p) {
  const Settings& s = p.settings;
  form::Picture& player = p.main.picture("Picture4");
  if (!showSkinPicture(p, p.main.picture("Imgsam"), s.samplerShown ? "sampler2.bmp" : "sampler1.bmp")) return;
  player.setTop(s.samplerShown ? 1320 : 300);
  if (!showSkinPicture(p, p.main.picture("Imglist"), s.songListShown ? "list2.bmp" : "list1.bmp")) return;
  double height = windowHeight(s.samplerShown, s.songListShown);
  p.main.picture("Picture5").setTop(player.top() + 5100);
  placeDjPanel(p, height);
  if (p.window.djPanelShown) height += kDjPanelHeight;
  if (p.window.menuShown) height += kMenuBarHeight;
  setWindowSize(p, kWindowWidth, height);
}

void Imgsam_Click(Program& p) {
  if (p.startup.directSoundReady) p.settings.samplerShown = !p.settings.samplerShown;
  layoutWindow(p);
}

void Imglist_Click(Program& p) {
  p.settings.songListShown = !p.settings.songListShown;
  layoutWindow(p);
}

void Imgdj_Click(Program& p) {
  p.window.djPanelShown = !p.window.djPanelShown;
  p.plus.setFlag("panel", "shown", p.window.djPanelShown);
  layoutWindow(p);
}

void Imgmenu_Click(Program& p) {
  // The whole menu bar comes and goes: with only the file menu the playback options, the
  // settings and the skins could not be reached.
  bool show = !p.window.menuShown;
  setMenuBar(p, show);
  showSkinPicture(p, p.main.picture("Imgmenu"), show ? "menu2.bmp" : "menu1.bmp");
  p.window.menuShown = show;
  layoutWindow(p);
}

void Tobar_Click(Program& p) {
  if (p.window.menuShown) {
    setMenuBar(p, false);
    showSkinPicture(p, p.main.picture("Imgmenu"), "menu1.bmp");
    p.window.menuShown = false;
  }
  placeMiniButtons(p, kMiniTopInBar);
  layoutWindow(p);
  p.window.barMode = true;
  setWindowSize(p, kBarWidth, kBarHeight);
  p.main.label("topbar").setCaption(p.main.label("lbfilename", p.lastPlayedDeck).caption());
}

void formtobig(Program& p) {
  if (!p.window.barMode) return;
  placeMiniButtons(p, kMiniTopParked);
  layoutWindow(p);
  p.window.barMode = false;
  p.main.label("topbar").setCaption("Ver." + basic::versionText());
  p.main.label("bartime").setCaption("");
}

void Minimum_Click(Program& p) {
  p.main.minimized = true;
  p.main.touch();
  p.window.miniMode = true;
  p.main.caption = "Velvox Ver." + basic::versionText();
}

void Form_Resize(Program& p) {
  if (!p.window.miniMode || p.main.minimized) return;
  p.window.miniMode = false;
  p.main.caption.clear();
  p.main.touch();
  layoutWindow(p);
}

void temae_Click(Program& p) {
  form::MenuItem& item = p.main.menu("temae");
  item.setChecked(!item.checked());
  p.main.topmost = item.checked();
  p.main.touch();
}

}  // namespace vx::ui
