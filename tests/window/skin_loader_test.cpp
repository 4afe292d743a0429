// The skin loader, picture sizes, skin folders and the press pictures of the buttons.
#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/test_program.h"
#include "tests/window/skin_folder.h"
#include "ui/skin.h"
#include "ui/skin_buttons.h"
#include "ui/skin_files.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

class SkinTest : public ::testing::Test {
 protected:
  TempFolder home;
  TestProgram t;
  Program& p = t.p;
  fs::path root = home.path() / "picture";

  void SetUp() override { p.skin.roots = {root.string()}; }
  form::Picture& pic(const std::string& name, int index = -1) { return p.main.picture(name, index); }
  // The skin a control's picture was last taken from.
  std::string skinOf(const form::Picture& c) {
    auto it = p.skin.assigned.find(&c);
    return it == p.skin.assigned.end() ? "" : fs::path(it->second.path).parent_path().filename().string();
  }
  void load(const std::string& skin) {
    p.settings.skinName = skin;
    ui::loadSkin(p);
  }
};

TEST_F(SkinTest, LoadsEveryRowOfTheSkinWithTheLitPattern) {
  makeSkin(root, "orange");
  p.mixer.faderPattern = 1;
  load("orange");
  EXPECT_EQ(pic("Imgmenu").picture(), "menu1.bmp");
  EXPECT_EQ(pic("Imgmonitor", 0).picture(), "ch12.bmp");
  EXPECT_EQ(pic("Imgmonitor", 1).picture(), "ch21.bmp");
  EXPECT_EQ(pic("jogbtn", 1).picture(), "jog.ico");
  EXPECT_EQ(pic("masterbtn", 1).picture(), "ctrlbtn.bmp");
  EXPECT_EQ(pic("FDpaturn", 0).picture(), "fdp11.bmp");
  EXPECT_EQ(pic("FDpaturn", 1).picture(), "fdp22.bmp");
  EXPECT_EQ(pic("FDpaturn", 3).picture(), "fdp41.bmp");
  for (const char* name : {"Imgmenu", "Image1", "Picture8", "Faderbtn"}) EXPECT_EQ(skinOf(pic(name)), "orange") << name;

  // CUT IN lights its own button while the curve of the pattern stays in use.
  p.mixer.cutInMode = true;
  load("orange");
  EXPECT_EQ(pic("FDpaturn", 1).picture(), "fdp21.bmp");
  EXPECT_EQ(pic("FDpaturn", 3).picture(), "fdp42.bmp");
}

TEST_F(SkinTest, StopsAtTheFirstMissingPictureLeavingTheRestInTheOldSkin) {
  makeSkin(root, "orange");
  makeSkin(root, "nobar", {}, {"bar.bmp"});
  load("orange");
  load("nobar");
  for (const char* name : {"Imgmenu", "Tobar", "switch", "mininext"}) EXPECT_EQ(skinOf(pic(name)), "nobar") << name;
  for (const char* name : {"Image1", "Picture4", "Faderbtn"}) EXPECT_EQ(skinOf(pic(name)), "orange") << name;
  EXPECT_EQ(skinOf(pic("FDpaturn", 0)), "orange");

  // A skin that does not exist changes nothing at all.
  auto before = p.skin.serial;
  load("nosuchskin");
  EXPECT_EQ(p.skin.serial, before);
  EXPECT_EQ(skinOf(pic("Imgmenu")), "nobar");
}

TEST_F(SkinTest, ImagesTakeThePictureSizeAndPanelsOnlyWhileSizingThemselves) {
  makeSkin(root, "orange", {{"faderbtn.bmp", {30, 20}}, {"playerbase.bmp", {100, 50}}});
  load("orange");
  EXPECT_EQ(pic("Faderbtn").width(), 450);
  EXPECT_EQ(pic("Faderbtn").height(), 300);
  EXPECT_EQ(pic("Picture4").width(), 10680);
  pic("Picture4").setAutoSize(true);
  load("orange");
  EXPECT_EQ(pic("Picture4").width(), 1500);
  EXPECT_EQ(pic("Picture4").height(), 750);
}

TEST_F(SkinTest, PicturesAreLookedUpInTheFirstRootHoldingTheSkin) {
  TempFolder installed;
  fs::path shared = installed.path() / "picture";
  makeSkin(shared, "orange");
  makeSkin(shared, "midnight");
  makeSkin(root, "orange");
  fs::create_directories(root / ".hidden");
  p.skin.roots = {root.string(), shared.string()};
  EXPECT_EQ(ui::findSkinFolder(p.skin.roots, "orange"), (root / "orange").string());
  EXPECT_EQ(ui::findSkinFolder(p.skin.roots, "midnight"), (shared / "midnight").string());
  EXPECT_EQ(ui::findSkinFolder(p.skin.roots, ".."), "");
  EXPECT_EQ(ui::findSkinFolder(p.skin.roots, "a/b"), "");
  EXPECT_EQ(ui::listSkins(p.skin.roots), (std::vector<std::string>{"midnight", "orange"}));
  EXPECT_EQ(ui::skinRoots("/home/me", "/opt/velvox/bin", "/opt/velvox/bin/../share/velvox"),
            (std::vector<std::string>{"/home/me/picture", "/opt/velvox/bin/picture", "/opt/velvox/share/velvox/picture"}));
  EXPECT_EQ(ui::skinRoots("/opt/x", "/opt/x", "").size(), 1u);
}

TEST(PictureSize, ReadsBitmapAndIconHeadersAndRefusesAnythingElse) {
  TempFolder dir;
  auto file = [&dir](const std::string& name, const std::string& bytes) {
    std::ofstream(dir.path() / name, std::ios::binary) << bytes;
    return (dir.path() / name).string();
  };
  writeBitmapHeader(dir.path() / "a.bmp", 33, 17);
  auto size = ui::readPictureSize((dir.path() / "a.bmp").string());
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 33);
  EXPECT_EQ(size->height, 17);
  // A top-down bitmap stores its height negative.
  writeBitmapHeader(dir.path() / "top.bmp", 8, -4);
  EXPECT_EQ(ui::readPictureSize((dir.path() / "top.bmp").string())->height, 4);
  // The old core header holds 16-bit sizes.
  std::string core = std::string("BM") + std::string(12, '\0') + std::string("\x0c\0\0\0\x05\0\x07\0", 8) + std::string("\1\0\x18\0", 4);
  auto coreSize = ui::readPictureSize(file("core.bmp", core));
  ASSERT_TRUE(coreSize);
  EXPECT_EQ(coreSize->width, 5);
  EXPECT_EQ(coreSize->height, 7);
  std::string icon = std::string("\0\0\1\0\1\0", 6) + std::string("\0\x20", 2) + std::string(14, '\0');
  auto iconSize = ui::readPictureSize(file("jog.ico", icon));
  ASSERT_TRUE(iconSize);
  EXPECT_EQ(iconSize->width, 256);
  EXPECT_EQ(iconSize->height, 32);
  EXPECT_FALSE(ui::readPictureSize(file("empty.bmp", "")));
  EXPECT_FALSE(ui::readPictureSize(file("short.bmp", "BM\x10")));
  EXPECT_FALSE(ui::readPictureSize(file("text.bmp", "This is not a picture at all, really.")));
  EXPECT_FALSE(ui::readPictureSize((dir.path() / "missing.bmp").string()));
  EXPECT_FALSE(ui::readPictureSize(dir.str()));
}

TEST_F(SkinTest, ButtonsShowTheirSecondPictureWhilePressedWithAnyMouseButton) {
  makeSkin(root, "orange");
  load("orange");
  for (auto [name, index, pressed, released] :
       {std::tuple{"Imgdell", 1, "dell2.bmp", "dell1.bmp"}, {"ImgtoA", -1, "toa2.bmp", "toa1.bmp"},
        {"Tobar", -1, "formbar2.bmp", "formbar1.bmp"}, {"SongPre", 0, "presong2.bmp", "presong1.bmp"},
        {"center", -1, "center2.bmp", "center1.bmp"}, {"searchR", 1, "sgo2.bmp", "sgo1.bmp"}}) {
    form::Picture& b = pic(name, index);
    b.events.mouseDown({form::MouseButton::Right});
    EXPECT_EQ(b.picture(), pressed) << name;
    b.events.mouseUp({form::MouseButton::Right});
    EXPECT_EQ(b.picture(), released) << name;
  }
}

TEST_F(SkinTest, APressedPictureThatCannotBeLoadedLeavesTheButtonAsItWas) {
  makeSkin(root, "orange", {}, {"switch2.bmp"});
  load("orange");
  pic("switch").events.mouseDown({});
  EXPECT_EQ(pic("switch").picture(), "switch1.bmp");
}

TEST(SkinButtons, KeepTheHandlersTheButtonsHadBefore) {
  TempFolder home;
  TestProgram t({.wire = false});
  makeSkin(home.path() / "picture", "orange");
  t.p.skin.roots = {(home.path() / "picture").string()};
  int downs = 0, ups = 0;
  form::Picture& sw = t.form().picture("switch");
  sw.events.mouseDown = [&downs](const form::MouseEvent&) { ++downs; };
  sw.events.mouseUp = [&ups](const form::MouseEvent&) { ++ups; };
  ui::wireSkinButtons(t.p);
  sw.events.mouseDown({});
  EXPECT_EQ(sw.picture(), "switch2.bmp");
  sw.events.mouseUp({});
  EXPECT_EQ(sw.picture(), "switch1.bmp");
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
}

}  // namespace
}  // namespace vx::test
