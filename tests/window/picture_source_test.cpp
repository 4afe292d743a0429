// Which file the window draws a picture control from, across skin changes and direct swaps.
#include <gtest/gtest.h>

#include "tests/support/test_program.h"
#include "tests/window/skin_folder.h"
#include "ui/picture_source.h"
#include "ui/skin.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

TEST(PictureSource, ControlsAfterAFailedSkinChangeKeepTheirSkinUntilGivenANewPicture) {
  TempFolder home;
  fs::path root = home.path() / "picture";
  makeSkin(root, "orange");
  makeSkin(root, "nobar", {}, {"bar.bmp"});
  TestProgram t;
  Program& p = t.p;
  p.skin.roots = {root.string()};
  form::Picture& play = p.main.picture("Pause", 0);
  form::Picture& bar = p.main.picture("Image1");
  form::Picture& pan = p.main.picture("panbtn", 0);
  auto in = [&root](const std::string& skin, const std::string& file) { return (root / skin / file).string(); };

  ui::DrawnPicture drawnPlay, drawnBar, drawnPan;
  // Before any skin is loaded the layout's names come from the current skin.
  EXPECT_EQ(ui::pictureFile(p, play, drawnPlay), in("orange", "play1.bmp"));
  ui::loadSkin(p);
  EXPECT_EQ(ui::pictureFile(p, bar, drawnBar), in("orange", "bar.bmp"));

  p.settings.skinName = "nobar";
  ui::loadSkin(p);
  EXPECT_EQ(ui::pictureFile(p, play, drawnPlay), in("nobar", "play1.bmp"));
  EXPECT_EQ(ui::pictureFile(p, bar, drawnBar), in("orange", "bar.bmp"));
  // Never drawn before, the pan knob still comes from the skin that gave it its picture.
  EXPECT_EQ(ui::pictureFile(p, pan, drawnPan), in("orange", "pan.bmp"));
  // Moving does not change the file; a lamp set by name reads the skin now in use.
  pan.setLeft(pan.left() + 30);
  EXPECT_EQ(ui::pictureFile(p, pan, drawnPan), in("orange", "pan.bmp"));
  pan.setPicture("ch11.bmp");
  EXPECT_EQ(ui::pictureFile(p, pan, drawnPan), in("nobar", "ch11.bmp"));
  pan.setPicture("pan.bmp");
  EXPECT_EQ(ui::pictureFile(p, pan, drawnPan), in("nobar", "pan.bmp"));

  // A picture without a name draws nothing.
  form::Picture& track = p.main.picture("Faderbase");
  ui::DrawnPicture drawnTrack;
  EXPECT_EQ(ui::pictureFile(p, track, drawnTrack), "");
}

}  // namespace
}  // namespace vx::test
