// The skin window: its list of skins and choosing one.
#include <gtest/gtest.h>

#include "tests/support/test_program.h"
#include "tests/window/skin_folder.h"

namespace vx::test {
namespace {

TEST(SkinChooser, ListsEverySkinAndAClickMakesItTheSkinOfTheWindow) {
  TempFolder home, installed;
  makeSkin(home.path() / "picture", "orange");
  makeSkin(installed.path() / "picture", "orange");
  makeSkin(installed.path() / "picture", "midnight", {{"bar.bmp", {20, 2}}});
  TestProgram t;
  Program& p = t.p;
  p.skin.roots = {(home.path() / "picture").string(), (installed.path() / "picture").string()};
  p.settings.samplerShown = false;

  p.main.menu("skin").events.click();
  EXPECT_TRUE(p.fontInfo.visible);
  EXPECT_EQ(p.fontInfo.caption, "SKIN");
  form::ListBox& list = p.fontInfo.listBox("List2");
  EXPECT_EQ(list.items(), (std::vector<std::string>{"midnight", "orange"}));
  EXPECT_EQ(p.fontInfo.label("lblHeading").caption(), "orangeのフォントの編集");
  EXPECT_EQ(p.fontInfo.label("lblSkinName").caption(), "orange");
  // The editing controls wait for a display element to be chosen.
  EXPECT_FALSE(p.fontInfo.listBox("List1").enabled());
  EXPECT_FALSE(p.fontInfo.label("Command3").enabled());

  list.setListIndex(0);
  list.events.click();
  EXPECT_EQ(p.settings.skinName, "midnight");
  EXPECT_EQ(p.main.picture("Image1").width(), 300);  // midnight's bar picture
  EXPECT_EQ(p.main.height, 7600);                    // laid out again
  EXPECT_EQ(p.fontInfo.label("lblHeading").caption(), "midnightのフォントの編集");
}

}  // namespace
}  // namespace vx::test
