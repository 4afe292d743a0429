#include "ui/font_editor.h"

#include <string>
#include <vector>

#include "basic/convert.h"
#include "ui/fonts.h"

namespace vx::ui {

namespace {

constexpr const char* kListBoxFontMessage = "リストボックスのフォントの設定はカラー変更のみです。";
constexpr const char* kDefaultFont = "Noto Sans CJK JP";
const char* const kEditingControls[] = {"List1", "fontsize1", "foncolor", "Command3", "fontdedalt"};

form::Form& editor(Program& p) { return p.fontInfo; }
form::Label& preview(Program& p) { return p.fontInfo.label("Label1"); }

// The controls an element's font and text colour go to; the first one is shown in the preview.
std::vector<form::Control*> elementControls(Program& p, int element) {
  std::vector<form::Control*> controls;
  if (element == 0) {
    for (int d = 0; d < 2; ++d) controls.push_back(&p.main.label("text2", d));
  } else if (element == 1) {
    for (int i = 0; i < 8; ++i) controls.push_back(&p.main.label("Text1", i));
  } else {
    for (int d = 0; d < 2; ++d) controls.push_back(&p.main.listBox("title1", d));
  }
  return controls;
}

// The main display's colour also goes to the deck's other labels, but not to the total times.
std::vector<form::Control*> colourControls(Program& p, int element) {
  std::vector<form::Control*> controls = elementControls(p, element);
  if (element != 0) return controls;
  for (const char* name : {"lbfilename", "modelabel", "Pitchper", "Keyfocus"})
    for (int d = 0; d < 2; ++d) controls.push_back(&p.main.get<form::Control>(name, d));
  return controls;
}

void refreshPreview(Program& p, int element) {
  if (element < 0) return;
  const form::Control& first = *elementControls(p, element)[0];
  form::Label& view = preview(p);
  view.setFontName(first.fontName());
  view.setFontSize(first.fontSize());
  view.setForeColor(first.foreColor());
  if (element == 2) view.setBackColor(first.backColor());
  editor(p).label("lblSize").setCaption(basic::CStr(first.fontSize()));
}

void listBoxFontMessage(Program& p) {
  if (p.ports.dialogs)
    p.ports.dialogs->messageBox({kListBoxFontMessage, "", platform::MsgButtons::OK, platform::MsgIcon::None});
}

// Applies a font change to the element's controls, then to the preview; a value a control
// refuses ends the change there.
template <class Setter>
void applyFont(Program& p, Setter set) {
  int element = p.fontEditor.element;
  if (element == 2) {
    listBoxFontMessage(p);
    return;
  }
  if (element < 0) return;
  for (form::Control* c : elementControls(p, element))
    if (!set(*c)) return;
  set(preview(p));
}

std::optional<uint32_t> chooseColour(Program& p, long initial) {
  if (!p.ports.dialogs) return std::nullopt;
  return p.ports.dialogs->chooseColor(static_cast<uint32_t>(initial < 0 ? 0 : initial));
}

}  // namespace

void Font_Click(Program& p, int element) {
  form::Form& f = editor(p);
  refreshPreview(p, element);
  f.get<form::Control>("backcolor1").setEnabled(element == 2);
  if (!p.fontEditor.ready) {
    for (const char* name : kEditingControls) f.get<form::Control>(name).setEnabled(true);
    form::ListBox& fonts = f.listBox("List1");
    if (fonts.listCount() == 0 && p.ports.dialogs) fonts.setItems(p.ports.dialogs->fontNames(), -1);
    p.fontEditor.ready = true;
  }
  p.fontEditor.element = element;
}

void fontList_Click(Program& p) {
  form::ListBox& fonts = editor(p).listBox("List1");
  std::string name = fonts.item(fonts.listIndex());
  if (name.empty()) return;
  applyFont(p, [&name](form::Control& c) { return c.setFontName(name); });
}

void fontsize1_Change(Program& p) {
  form::TextBox& box = editor(p).textBox("fontsize1");
  double size = basic::Val(box.text());
  if (size > kMaxEditorFontSize) {
    box.setText(std::to_string(kMaxEditorFontSize));
    size = kMaxEditorFontSize;
  }
  applyFont(p, [size](form::Control& c) { return c.setFontSize(size); });
}

void foncolor_Click(Program& p) {
  int element = p.fontEditor.element;
  if (element < 0) return;
  auto colour = chooseColour(p, elementControls(p, element)[0]->foreColor());
  if (!colour) return;
  for (form::Control* c : colourControls(p, element)) c->setForeColor(static_cast<long>(*colour));
  preview(p).setForeColor(static_cast<long>(*colour));
}

void backcolor1_Click(Program& p) {
  if (p.fontEditor.element != 2) return;
  auto colour = chooseColour(p, p.main.listBox("title1", 0).backColor());
  if (!colour) return;
  for (form::Control* c : elementControls(p, 2)) c->setBackColor(static_cast<long>(*colour));
  preview(p).setBackColor(static_cast<long>(*colour));
}

void fontdedalt_Click(Program& p) {
  loadFonts(p);
  refreshPreview(p, p.fontEditor.element);
}

void Command3_Click(Program& p) {
  if (!p.ports.dialogs) return;
  auto answer = p.ports.dialogs->messageBox({p.settings.skinName + "のフォントの設定を変更しようとしています。本当によろしいですか？",
                                             "", platform::MsgButtons::YesNo, platform::MsgIcon::Question});
  if (answer != platform::MsgResult::Yes) return;
  std::string error;
  if (!saveFonts(p, error))
    p.ports.dialogs->messageBox({"フォントの設定を保存できません。\n" + error, "", platform::MsgButtons::OK,
                                 platform::MsgIcon::Critical});
}

void resetFontEditor(Program& p) {
  form::Form& f = editor(p);
  for (const char* name : kEditingControls) f.get<form::Control>(name).setEnabled(false);
  f.get<form::Control>("backcolor1").setEnabled(false);
  for (int i = 0; i < 3; ++i) f.option("Font", i).setValue(false);
  p.fontEditor = {};
}

void applyDefaultLooks(Program& p) {
  auto look = [](form::Control& c, double size, long colour) {
    c.setFontName(kDefaultFont);
    c.setFontSize(size);
    c.setForeColor(colour);
  };
  for (int d = 0; d < 2; ++d) {
    look(p.main.label("text2", d), 16, 0x47B3FF);
    look(p.main.listBox("List1", d), 9, 0xF0F0F0);
    look(p.main.listBox("title1", d), 9, 0xF0F0F0);
    p.main.listBox("title1", d).setBackColor(0x1C1818);
  }
  for (int i = 0; i < 8; ++i) look(p.main.label("Text1", i), 8, 0xF0F0F0);
}

void wireFontEditor(Program& p) {
  form::Form& f = editor(p);
  applyDefaultLooks(p);
  for (int i = 0; i < 3; ++i) f.option("Font", i).events.click = [&p, i] { Font_Click(p, i); };
  f.listBox("List1").events.click = [&p] { fontList_Click(p); };
  f.textBox("fontsize1").events.change = [&p] { fontsize1_Change(p); };
  f.label("foncolor").events.click = [&p] { foncolor_Click(p); };
  f.label("backcolor1").events.click = [&p] { backcolor1_Click(p); };
  f.label("fontdedalt").events.click = [&p] { fontdedalt_Click(p); };
  f.label("Command3").events.click = [&p] { Command3_Click(p); };
}

}  // namespace vx::ui
