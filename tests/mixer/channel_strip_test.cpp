// The channel strip: the trim knob and its stored value, the channel fader and the pan.
#include "mixer/channel_strip.h"
#include "mixer_fixture.h"
#include "songlist/song_list.h"

namespace vx::test {
namespace {

class ChannelStripTest : public MixerFixture {
 protected:
  const form::Line& line(int deck) { return t.form().get<form::Line>("TrimLine", deck); }
  std::string stored(int deck, int row) { return songlist::SongList(t.p.main, deck).value(songlist::Trim, row); }
};

TEST_F(ChannelStripTest, TurningTheTrimStoresTheCutWithTheSongAndAppliesIt) {
  t.addSong(0, "/music/a.mp3");
  press("Trimbase", 0, 720, 360);  // fully right
  EXPECT_NEAR(mixer::trimCut(t.p, 0), 1, 1e-9);
  EXPECT_EQ(stored(0, 0), "100");
  EXPECT_EQ(t.p.mixer.trimLevel[0], 99);
  EXPECT_EQ(volume(0), -1);
  EXPECT_TRUE(t.p.mixer.trimDragging);

  drag("Trimbase", 0, 0, 360);  // fully left
  EXPECT_NEAR(mixer::trimCut(t.p, 0), 39, 1e-9);
  EXPECT_EQ(stored(0, 0), "3900");
  EXPECT_EQ(t.p.mixer.trimLevel[0], 61);

  drag("Trimbase", 0, 460, 260);  // up and right at 45 degrees: a fraction of seven digits
  EXPECT_EQ(stored(0, 0), "656.4971");
  EXPECT_DOUBLE_EQ(line(0).y2, 1440 - 190 / std::sqrt(2.0));

  drag("Trimbase", 0, 0, 700);  // below the centre counts as on the horizontal
  EXPECT_EQ(stored(0, 0), "3900");
  drag("Trimbase", 0, 360, 360);  // the centre itself leaves the pointer where it was
  EXPECT_EQ(stored(0, 0), "3900");

  release("Trimbase", 0);
  drag("Trimbase", 0, 720, 360);
  EXPECT_EQ(stored(0, 0), "3900");
}

TEST_F(ChannelStripTest, TheTrimIsStoredAtTheTrimListsOwnSelection) {
  t.addSong(1, "/music/a.mp3");
  t.addSong(1, "/music/b.mp3");
  t.form().listBox("vollis", 1).setListIndex(0);
  press("Trimbase", 1, 360, 0);
  EXPECT_EQ(stored(1, 0), "2000");
  EXPECT_EQ(stored(1, 1), songlist::SongList(t.p.main, 1).value(songlist::Trim, 1));
  EXPECT_NEAR(mixer::trimCut(t.p, 1), 20, 1e-9);
}

TEST_F(ChannelStripTest, DrawingThePointerFromTheStoredTrim) {
  t.addSong(0, "/music/a.mp3");
  songlist::SongList list(t.p.main, 0);
  struct Case {
    const char* stored;
    double x2, y2, cut;
  } cases[] = {{"2000", 4670, 1240, 20}, {"0", 4870, 1440, 0}, {"4000", 4470, 1440, 40},
               {"5000", 4470, 1440, 40}, {"-300", 4870, 1440, 0}, {"1000", 4770, 1440 - std::sqrt(30000.0), 10}};
  for (const Case& c : cases) {
    list.setValue(songlist::Trim, 0, c.stored);
    mixer::trimlinedraw(t.p, 0);
    EXPECT_DOUBLE_EQ(line(0).x2, c.x2) << c.stored;
    EXPECT_DOUBLE_EQ(line(0).y2, c.y2) << c.stored;
    EXPECT_NEAR(mixer::trimCut(t.p, 0), c.cut, 1e-9) << c.stored;
  }
}

TEST_F(ChannelStripTest, ANewSongWithTheDefaultTrimDrawsStraightUpAtLevel80) {
  t.addSong(1, "/music/a.mp3");
  EXPECT_EQ(stored(1, 0), "2000");
  mixer::trimlinedraw(t.p, 1);
  mixer::volcontrol(t.p);
  EXPECT_DOUBLE_EQ(line(1).x2, 5950);
  EXPECT_EQ(t.p.mixer.trimLevel[1], 80);
  EXPECT_EQ(volume(1), -400);
}

TEST_F(ChannelStripTest, ChannelFaderIsPinnedAtBothEndsAndMutesAtTheBottom) {
  faderAt(-500);
  press("Volbase", 0, 240, -500);
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 1830);
  EXPECT_EQ(volume(0), 0);
  drag("Volbase", 0, 240, 5000);
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 3330);
  EXPECT_EQ(volume(0), -10000);
  release("Volbase", 0);
  EXPECT_FALSE(t.p.mixer.volDragging[0]);

  // On the knob the point is taken relative to the knob: pressing its middle leaves it in place,
  // dragging 750 twips further up lifts it by that much.
  press("Volbtn", 0, 240, 127.5);
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 3330);
  drag("Volbtn", 0, 240, 127.5 - 750);
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 2580);
  EXPECT_EQ(volume(0), -2500);  // (750/1500 * 100)^2
  EXPECT_TRUE(t.p.mixer.volDragging[0]);
  EXPECT_FALSE(t.p.mixer.volDragging[1]);
}

TEST_F(ChannelStripTest, PanSetsTheBalanceAndSnapsHardBeyond1270) {
  press("Panbase", 1, 667.5, 120);  // knob at its rest, left edge 8900
  EXPECT_EQ(t.player(1).bal, 0);
  drag("Panbase", 1, 767.5, 120);
  EXPECT_EQ(t.player(1).bal, 100);
  drag("Panbase", 1, 2000, 120);  // beyond the track while dragging: ignored
  EXPECT_EQ(t.player(1).bal, 100);
  release("Panbase", 1);

  press("Panbase", 0, 2000, 120);  // a press is not limited: 1332 is beyond the snap
  EXPECT_EQ(t.player(0).calls, (std::vector<std::string>{"balance=1332", "balance=10000"}));
  press("Panbase", 0, -700, 120);
  EXPECT_EQ(t.player(0).bal, -10000);
  press("Panbase", 0, 667.5 - 1270, 120);  // exactly -1270 stays
  EXPECT_EQ(t.player(0).bal, -1270);
}

TEST_F(ChannelStripTest, OnlyTheLeftButtonMovesTheControls) {
  t.form().picture("Volbase", 0).events.mouseDown(at(240, 1000, form::MouseButton::Right));
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 1830);
  EXPECT_FALSE(t.p.mixer.volDragging[0]);
}

}  // namespace
}  // namespace vx::test
