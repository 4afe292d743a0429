#include "ui/skin_chooser.h"

#include "core/storable.h"
#include "form/layout.h"
#include "ui/font_editor.h"
#include "ui/fonts.h"
#include "ui/skin.h"
#include "ui/skin_files.h"
#include "ui/window_modes.h"

namespace vx::ui {

namespace {

// The editing controls stay disabled until a display element is chosen.
constexpr const char* kFontInfoLayout = R"(
label   lblHeading  -   120  120 6360  300 ""
label   lblSkinName -   120  480 3000  255 ""
option  Font(0)     -   120  840 2400  300 "メインディスプレイ"
option  Font(1)     -   120 1200 2400  300 "サンプラー"
option  Font(2)     -   120 1560 2400  300 "リストボックス"
label   Label1      -   120 2040 2400  900 "Velvox"
label   lblSize     -   120 3060 2400  255 ""
list    List1       -  2640  840 2040 2520 disabled
text    fontsize1   -  2640 3480  900  300 "" disabled
label   foncolor    -  4800  840 1680  360 "Fontカラー" disabled
label   backcolor1  -  4800 1260 1680  360 "Backカラー" disabled
label   fontdedalt  -  4800 1680 1680  360 "デフォルト" disabled
label   Command3    -  4800 2100 1680  360 "保存" disabled
list    List2       -  4800 2640 1680 1440
list    Dir1        -     0    0    0    0 hidden
)";

void nameCurrentSkin(Program& p) {
  const std::string& skin = p.settings.skinName;
  p.fontInfo.label("lblSkinName").setCaption(skin);
  p.fontInfo.label("lblHeading").setCaption(skin + "のフォントの編集");
}

}  // namespace

void buildFontInfo(form::Form& f) {
  form::loadLayout(f, kFontInfoLayout);
  f.caption = "SKIN";
  f.width = 6720;
  f.height = 4560;
}

void openSkinWindow(Program& p) {
  if (!p.fontInfo.visible) resetFontEditor(p);
  nameCurrentSkin(p);
  // The hidden folder list reads the skin folders; the visible list shows them by name.
  form::ListBox& folders = p.fontInfo.listBox("Dir1");
  folders.setItems(listSkins(p.skin.roots), -1);
  p.fontInfo.listBox("List2").setItems(folders.items(), -1);
  p.fontInfo.visible = true;
  p.fontInfo.touch();
}

void chooseSkin(Program& p, const std::string& skin) {
  if (skin.empty() || !acceptStorable(p, skin)) return;
  p.settings.skinName = skin;
  loadSkin(p);
  loadFonts(p);
  layoutWindow(p);
  // The labels follow the choice, so that saving the fonts names the skin they go to.
  nameCurrentSkin(p);
}

void wireSkinChooser(Program& p) {
  if (!p.fontInfo.find("List2")) buildFontInfo(p.fontInfo);
  p.main.menu("skin").events.click = [&p] { openSkinWindow(p); };
  form::ListBox& list = p.fontInfo.listBox("List2");
  list.events.click = [&p, &list] {
    chooseSkin(p, list.item(list.listIndex()));
    // The preview follows the new skin's fonts.
    if (p.fontEditor.element >= 0) Font_Click(p, p.fontEditor.element);
  };
  wireFontEditor(p);
}

}  // namespace vx::ui
