// Window layout and modes: panel toggles, the menu bar, the small bar with its mini buttons,
// minimising, always on top, dragging by the title and the about window.
#include <gtest/gtest.h>

#include "basic/version.h"
#include "tests/support/test_program.h"
#include "tests/window/skin_folder.h"
#include "ui/skin.h"
#include "ui/window_modes.h"

namespace vx::test {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  TempFolder home;
  TestProgram t;
  Program& p = t.p;
  form::MainForm& f = t.form();

  void SetUp() override {
    makeSkin(home.path() / "picture", "orange");
    p.skin.roots = {(home.path() / "picture").string()};
    p.startup.directSoundReady = true;
    ui::loadSkin(p);
    ui::layoutWindow(p);
  }
  void click(const std::string& name) { f.picture(name).events.click(); }
  std::vector<std::string> visibleMenus() {
    std::vector<std::string> out;
    for (form::Control* c : f.controls())
      if (auto* m = dynamic_cast<form::MenuItem*>(c); m && m->parent.empty() && m->visible()) out.push_back(m->name());
    return out;
  }
};

TEST_F(WindowTest, WindowSizeFollowsTheShownPanelsAndTheMenuBar) {
  struct Case { bool sampler, list; double height, playerTop; };
  for (Case c : {Case{true, true, 8640, 1320}, {true, false, 6480, 1320}, {false, true, 7600, 300}, {false, false, 5460, 300}}) {
    p.settings.samplerShown = c.sampler;
    p.settings.songListShown = c.list;
    ui::layoutWindow(p);
    EXPECT_EQ(f.height, c.height);
    EXPECT_EQ(f.width, 10680);
    EXPECT_EQ(f.picture("Picture4").top(), c.playerTop);
    EXPECT_EQ(f.picture("Picture5").top(), c.playerTop + 5100);
    EXPECT_EQ(f.picture("Imgsam").picture(), c.sampler ? "sampler2.bmp" : "sampler1.bmp");
    EXPECT_EQ(f.picture("Imglist").picture(), c.list ? "list2.bmp" : "list1.bmp");
  }
  click("Imgmenu");
  EXPECT_EQ(f.height, 5460 + 280);
  EXPECT_EQ(f.picture("Imgmenu").picture(), "menu2.bmp");
  EXPECT_EQ(visibleMenus(), (std::vector<std::string>{"file", "autoplay", "hyouji", "setting", "skin", "version", "midilearn", "extsettings"}));
  click("Imgmenu");
  EXPECT_EQ(f.height, 5460);
  EXPECT_TRUE(visibleMenus().empty());
  EXPECT_EQ(f.picture("Imgmenu").picture(), "menu1.bmp");
}

TEST_F(WindowTest, PanelButtonsToggleTheirPanelsTheSamplerOnlyWithASoundDevice) {
  click("Imglist");
  EXPECT_FALSE(p.settings.songListShown);
  EXPECT_EQ(f.height, 6480);
  click("Imgsam");
  EXPECT_FALSE(p.settings.samplerShown);
  EXPECT_EQ(f.height, 5460);
  p.startup.directSoundReady = false;
  click("Imgsam");
  EXPECT_FALSE(p.settings.samplerShown);
  EXPECT_EQ(f.height, 5460);
}

// The DJ panel hangs where the window ended without it, in every arrangement of the other
// panels, and only lengthens the window; the bar mode hides it with the rest and gives it back.
TEST_F(WindowTest, DjPanelLengthensTheWindowBelowTheOtherPanels) {
  EXPECT_FALSE(f.picture("djpanel").visible());
  click("Imgdj");
  EXPECT_TRUE(p.window.djPanelShown);
  EXPECT_TRUE(p.plus.flag("panel", "shown", false));
  EXPECT_EQ(f.picture("Imgdj").picture(), "dj2.bmp");
  struct Case { bool sampler, list; double classic; };
  for (Case c : {Case{true, true, 8640}, {true, false, 6480}, {false, true, 7600}, {false, false, 5460}}) {
    p.settings.samplerShown = c.sampler;
    p.settings.songListShown = c.list;
    ui::layoutWindow(p);
    EXPECT_TRUE(f.picture("djpanel").visible());
    EXPECT_EQ(f.picture("djpanel").top(), c.classic);
    EXPECT_EQ(f.height, c.classic + ui::kDjPanelHeight);
    EXPECT_EQ(f.picture("Picture4").top(), c.sampler ? 1320 : 300);
  }
  click("Imgmenu");
  EXPECT_EQ(f.height, 5460 + ui::kDjPanelHeight + 280);
  click("Tobar");
  EXPECT_EQ(f.height, ui::kBarHeight);
  ui::formtobig(p);
  EXPECT_EQ(f.height, 5460 + ui::kDjPanelHeight);
  click("Imgdj");
  EXPECT_FALSE(f.picture("djpanel").visible());
  EXPECT_EQ(f.height, 5460);
  EXPECT_FALSE(p.plus.flag("panel", "shown", true));
}

// A skin made for the classic window has no DJ pictures: the layout goes on, the DJ button
// taking the built-in skin's.
TEST_F(WindowTest, ASkinWithoutTheDjPicturesStillLaysOutTheWindow) {
  makeSkin(home.path() / "picture", "classic");
  std::filesystem::remove(home.path() / "picture" / "classic" / "dj1.bmp");
  std::filesystem::remove(home.path() / "picture" / "classic" / "dj2.bmp");
  p.settings.skinName = "classic";
  p.settings.songListShown = false;
  ui::layoutWindow(p);
  EXPECT_EQ(f.height, 6480);
  EXPECT_EQ(p.skin.assigned[&f.picture("Imgdj")].path, (home.path() / "picture" / "orange" / "dj1.bmp").string());
  // The panel's pictures, and those its meters swap in later, come from the built-in skin too.
  for (const char* name : {"meter00.bmp", "meter05.bmp"}) std::filesystem::remove(home.path() / "picture" / "classic" / name);
  ui::loadSkin(p);
  form::Picture& meter = f.picture("meter", 0);
  EXPECT_EQ(p.skin.assigned[&meter].path, (home.path() / "picture" / "orange" / "meter00.bmp").string());
  ui::swapAddedPicture(p, meter, "meter05.bmp");
  EXPECT_EQ(meter.picture(), "meter05.bmp");
  EXPECT_EQ(p.skin.assigned[&meter].path, (home.path() / "picture" / "orange" / "meter05.bmp").string());
}

TEST_F(WindowTest, LayoutStopsAtAMissingPictureKeepingWhatWasSet) {
  std::filesystem::remove(home.path() / "picture" / "orange" / "list1.bmp");
  p.settings.samplerShown = false;
  p.settings.songListShown = false;
  ui::layoutWindow(p);
  EXPECT_EQ(f.picture("Imgsam").picture(), "sampler1.bmp");
  EXPECT_EQ(f.picture("Picture4").top(), 300);
  EXPECT_EQ(f.picture("Imglist").picture(), "list2.bmp");
  EXPECT_EQ(f.height, 8640);
  EXPECT_EQ(f.picture("Picture5").top(), 6420);
}

TEST_F(WindowTest, BarModeShrinksToTheBarAndADoubleClickOnTheTitleRestoresTheWindow) {
  click("Imgmenu");
  p.lastPlayedDeck = 1;
  f.label("lbfilename", 1).setCaption("track.mp3");
  click("Tobar");
  EXPECT_TRUE(p.window.barMode);
  EXPECT_FALSE(p.window.menuShown);
  EXPECT_TRUE(visibleMenus().empty());
  EXPECT_EQ(f.width, 4000);
  EXPECT_EQ(f.height, 310);
  for (const char* mini : {"miniplay", "ministop", "minipre", "mininext"}) {
    EXPECT_EQ(f.picture(mini).top(), 40);
    // The mini buttons must fit in the bar.
    EXPECT_LE(f.picture(mini).left() + f.picture(mini).width(), 4000) << mini;
  }
  EXPECT_EQ(f.label("topbar").caption(), "track.mp3");

  f.label("bartime").setCaption("01:02");
  f.label("bartime").events.dblClick();
  EXPECT_FALSE(p.window.barMode);
  EXPECT_EQ(f.height, 8640);
  EXPECT_EQ(f.width, 10680);
  EXPECT_EQ(f.picture("minipre").top(), 1000);
  EXPECT_EQ(f.label("topbar").caption(), "Ver." + basic::versionText());
  EXPECT_EQ(f.label("bartime").caption(), "");
  // The menus hidden for the bar stay hidden.
  EXPECT_TRUE(visibleMenus().empty());

  // Outside bar mode a double-click on the title changes nothing.
  f.label("topbar").setCaption("x");
  f.picture("Image1").events.dblClick();
  EXPECT_EQ(f.label("topbar").caption(), "x");
}

TEST_F(WindowTest, MinimisingWithTheOwnButtonSetsTheCaptionUntilTheWindowIsRestored) {
  click("Minimum");
  EXPECT_TRUE(f.minimized);
  EXPECT_TRUE(p.window.miniMode);
  EXPECT_EQ(f.caption, "Velvox Ver." + basic::versionText());
  // The resize that the minimising itself causes keeps the mode.
  f.resize();
  EXPECT_TRUE(p.window.miniMode);
  f.minimized = false;
  f.resize();
  EXPECT_FALSE(p.window.miniMode);
  EXPECT_EQ(f.caption, "");
  // Minimised some other way, a restore does nothing.
  f.caption = "kept";
  f.resize();
  EXPECT_EQ(f.caption, "kept");
}

TEST_F(WindowTest, AlwaysOnTopFollowsTheCheckMark) {
  f.menu("temae").events.click();
  EXPECT_TRUE(f.menu("temae").checked());
  EXPECT_TRUE(f.topmost);
  f.menu("temae").events.click();
  EXPECT_FALSE(f.menu("temae").checked());
  EXPECT_FALSE(f.topmost);
}

TEST_F(WindowTest, TheLeftButtonDragsTheWindowByItsTitleAndOtherButtonsDoNot) {
  f.left = 1000;
  f.top = 2000;
  form::Control& title = f.picture("Image1");
  title.events.mouseDown({form::MouseButton::Left, 0, 300, 100});
  title.events.mouseMove({form::MouseButton::Left, 0, 450, 70});
  EXPECT_EQ(f.left, 1150);
  EXPECT_EQ(f.top, 1970);
  // The next move is measured from the same point in the control, which moved with the window.
  title.events.mouseMove({form::MouseButton::Left, 0, 315, 100});
  EXPECT_EQ(f.left, 1165);
  EXPECT_EQ(f.top, 1970);
  f.label("topbar").events.mouseDown({form::MouseButton::Right, 0, 10, 10});
  f.label("topbar").events.mouseMove({form::MouseButton::Right, 0, 500, 500});
  EXPECT_EQ(f.left, 1165);
  EXPECT_EQ(f.top, 1970);
}

TEST_F(WindowTest, MiniButtonsPlayTheTwoDecksAlternately) {
  t.addSong(0, "/music/a1.mp3");
  t.addSong(0, "/music/a2.mp3", false);
  t.p.main.listBox("List1", 0).setListIndex(0);
  t.addSong(1, "/music/b1.mp3");
  p.lastPlayedDeck = 0;
  f.picture("Faderbtn").setLeft(3630);
  t.clearCalls();

  click("mininext");
  EXPECT_EQ(p.lastPlayedDeck, 1);
  EXPECT_TRUE(t.player(1).called("play"));
  EXPECT_EQ(f.picture("Faderbtn").left(), 5130);
  EXPECT_FALSE(p.deck[1].deckIdle);
  // Deck A moved on to its next song.
  EXPECT_EQ(t.player(0).fileName(), "/music/a2.mp3");

  click("ministop");
  EXPECT_TRUE(t.player(1).called("stop"));
  EXPECT_TRUE(p.deck[1].deckIdle);

  t.clearCalls();
  click("minipre");
  EXPECT_EQ(p.lastPlayedDeck, 0);
  EXPECT_EQ(t.player(0).fileName(), "/music/a1.mp3");
  EXPECT_TRUE(t.player(0).called("play"));

  click("miniplay");
  EXPECT_FALSE(p.deck[0].deckIdle);
}

TEST_F(WindowTest, TheVersionMenuShowsTheAboutWindowAndItsOkButtonClosesIt) {
  f.menu("version").events.click();
  EXPECT_TRUE(p.about.visible);
  EXPECT_EQ(p.about.label("lblVersion").caption(), "Version " + basic::versionText());
  p.about.label("OK").events.click();
  EXPECT_FALSE(p.about.visible);
}

}  // namespace
}  // namespace vx::test
