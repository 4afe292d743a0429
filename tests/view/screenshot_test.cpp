// Pictures of the main window in each built-in skin, in the middle of a mix, written to
// screenshots/ in the build folder.
#include <QDir>
#include <QtTest/QTest>
#include <cmath>

#include "tests/view/window_fixture.h"
#include "ui/skin.h"

namespace vx::test {
namespace {

const QString kShots = VELVOX_BUILD_DIR "/screenshots";

class ScreenshotTest : public WindowFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  void label(const std::string& name, int index, const std::string& caption) { p.main.label(name, index).setCaption(caption); }
  void pointTrim(int deck, double cut) {
    auto& line = p.main.get<form::Line>("TrimLine", deck);
    double cx = deck == 0 ? 4670 : 5950, angle = 3.14159265 * (1 - cut / 40);
    line.set(cx, 1440, cx + 190 * std::cos(angle), 1440 - 190 * std::sin(angle));
  }
  void midMix() {
    for (const char* song : {"Sunrise Over Shibuya.mp3", "Deep Current (Original Mix).mp3", "夜明けのビート.mp3",
                             "Velvet Steps.wav", "Neon Harbor.mp3", "Tokyo Drift Line.mp3", "Slow Burn.mid"})
      t.addSong(0, std::string("/music/") + song, false);
    for (const char* song : {"Midnight Groove (Extended Mix).mp3", "Kaleidoscope.mp3", "東京ナイトクルーズ.mp3",
                             "Lowlands.wav", "Parallel Lines.mp3", "Afterglow.mp3"})
      t.addSong(1, std::string("/music/") + song, false);
    p.main.listBox("title1", 0).setListIndex(1);
    p.main.listBox("title1", 1).setListIndex(0);
    label("text2", 0, "02'47''310");
    label("lbfilename", 0, "Deep Current (Orig");
    label("title", 0, "Deep Current (Original Mix).mp3");
    label("Totaltime", 0, "/06'12");
    label("Pitchper", 0, "+02.4%");
    label("text2", 1, "Midnight Gr");
    label("lbfilename", 1, "CUE STAND BY!");
    label("title", 1, "Midnight Groove (Extended Mix).mp3");
    label("Totaltime", 1, "/05'03");
    label("Pitchper", 1, "-01.3%");
    label("modelabel", 1, "START");
    const char* samples[] = {" 1:kick.wav", " 2:snare.wav", " 3:ホーン.wav", " 4:airhorn.wav", " 5:", " 6:vox_hey.wav", " 7:", " 8:"};
    for (int i = 0; i < 8; ++i) label("Text1", i, samples[i]);
    p.main.picture("pitchbtn", 0).setTop(2508);
    p.main.picture("pitchbtn", 1).setTop(2340);
    p.main.picture("Volbtn", 1).setTop(2130);
    p.main.picture("Faderbtn").setLeft(4590);
    p.main.picture("masterbtn", 0).setTop(4040);
    p.main.picture("masterbtn", 1).setTop(3940);
    p.main.picture("jogbtn", 0).setLeft(3420);
    p.main.picture("jogbtn", 0).setTop(2760);
    pointTrim(0, 14);
    pointTrim(1, 24);
  }
  void save(QWidget& w, const QString& name) {
    QDir().mkpath(kShots);
    QString path = kShots + "/" + name;
    ASSERT_TRUE(w.grab().save(path)) << path.toStdString();
  }
};

TEST_P(ScreenshotTest, MainWindowInTheMiddleOfAMix) {
  const std::string skin = GetParam();
  midMix();
  showWith(skin);
  ui::showSkinPicture(p, p.main.picture("Pause", 0), "play2.bmp");
  ui::showSkinPicture(p, p.main.picture("Play", 1), "cue2.bmp");
  settle();
  save(gui->mainWindow(), QString::fromStdString("main-" + skin + ".png"));

  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("Tobar"));
  label("bartime", -1, "02:47");
  settle();
  save(gui->mainWindow(), QString::fromStdString("bar-" + skin + ".png"));
}

// The DJ panel shown by its button: the window grows by the panel alone, the classic controls
// stay where they were, a knob dragged with the mouse reaches the port, and the meters draw the
// port's readings.
TEST_P(ScreenshotTest, DjPanelShownBelowTheSongLists) {
  const std::string skin = GetParam();
  midMix();
  showWith(skin);
  settle();
  const int classicHeight = gui->mainWindow().height();
  const QPoint pause = centreOf("Pause", 0);
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("Imgdj"));
  settle();
  ASSERT_TRUE(p.main.picture("djpanel").visible());
  EXPECT_EQ(gui->mainWindow().height() - classicHeight, 160);
  EXPECT_EQ(centreOf("Pause", 0), pause);

  const QPoint knob = centreOf("eqlow", 0);
  sendMouse(QEvent::MouseButtonPress, knob, Qt::LeftButton, Qt::LeftButton);
  sendMouse(QEvent::MouseMove, knob + QPoint(0, 200), Qt::NoButton, Qt::LeftButton);
  sendMouse(QEvent::MouseButtonRelease, knob + QPoint(0, 200), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(p.main.get<form::Knob>("eqlow", 0).value(), -260);
  EXPECT_TRUE(t.dj.called("eq 0 0 -260"));

  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, centreOf("killmid", 1));
  p.main.get<form::Knob>("filter", 1).setValue(55);
  p.main.get<form::Knob>("filter", 1).events.change();
  t.dj.meters[0] = {0.5f, false};  // -6 dBFS: 13 segments of 3 dB
  t.dj.meters[1] = {0.2f, false};
  t.dj.meters[2] = {1.0f, true};
  t.player(0).state = platform::Playing;
  p.main.timer("Timer1").tick();
  settle();
  const QImage shot = grabCanvas();
  const std::string folder = std::string(VELVOX_BUILD_DIR) + "/picture/" + skin + "/";
  EXPECT_TRUE(drawnAt(shot, folder + "meter13.bmp", canvas().drawnRect(p.main.picture("meter", 0)).topLeft().toPoint()));
  EXPECT_TRUE(drawnAt(shot, folder + "clip2.bmp", canvas().drawnRect(p.main.picture("clip", 2)).topLeft().toPoint()));
  save(gui->mainWindow(), QString::fromStdString("djpanel-" + skin + ".png"));
}

INSTANTIATE_TEST_SUITE_P(Skins, ScreenshotTest, ::testing::Values("orange", "midnight"));

}  // namespace
}  // namespace vx::test
