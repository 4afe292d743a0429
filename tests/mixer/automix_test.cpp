// Continuous play: the check on every tick and the end of a song.
#include "basic/rnd.h"
#include "mixer/crossfader.h"
#include "mixer_fixture.h"
#include "play/automix.h"
#include "play/tick.h"
#include "songlist/song_list.h"

namespace vx::test {
namespace {

class AutomixTest : public MixerFixture {
 protected:
  void SetUp() override {
    MixerFixture::SetUp();
    option("autoplay2", true);
    option("autocrossfadeplay", false);
    option("random", false);
    option("countdown", false);
  }
  void option(const char* entry, bool on) { t.form().menu(entry).setChecked(on); }
  // Deck d holds `songs` entries with the first selected and loaded, `length` seconds long.
  void list(int deck, int songs, double length = 5) {
    for (int i = 0; i < songs; ++i) t.addSong(deck, "/music/" + std::string(1, char('a' + deck)) + std::to_string(i) + ".mp3", false);
    songlist::SongList(t.p.main, deck).select(0);
    t.player(deck).setFileName("/music/" + std::string(1, char('a' + deck)) + "0.mp3");
    t.player(deck).length = length;
  }
  void playAt(int deck, double position) {
    t.player(deck).state = platform::Playing;
    t.player(deck).position = position;
  }
  int selected(int deck) { return t.form().listBox("List1", deck).listIndex(); }
  void tick() { play::Timer1_Timer(t.p); }
};

TEST_F(AutomixTest, PlainContinuousPlayStartsTheOtherDeckGapTimeBeforeTheEnd) {
  list(0, 3, 100);
  list(1, 3, 100);
  playAt(0, 99.89);
  play::autoCheck(t.p);
  EXPECT_FALSE(t.player(1).called("play"));
  playAt(0, 99.91);
  play::autoCheck(t.p);
  play::autoCheck(t.p);  // sent again while the song lasts
  EXPECT_EQ(t.player(1).count("play"), 2);
  EXPECT_EQ(left(), 5130);

  t.player(1).clearCalls();
  t.p.settings.gapTime = 50;
  playAt(0, 99.4);
  play::autoCheck(t.p);
  EXPECT_FALSE(t.player(1).called("play"));
  playAt(0, 99.51);
  play::autoCheck(t.p);
  EXPECT_TRUE(t.player(1).called("play"));
}

TEST_F(AutomixTest, AGapShorterThanATickStartsTheOtherDeckWhenTheSongEnds) {
  list(0, 2, 100);
  list(1, 2, 100);
  t.p.settings.gapTime = 0;
  playAt(0, 99.99);
  tick();
  EXPECT_NE(t.player(1).state, platform::Playing);  // the position never passes the duration
  t.player(0).raiseEndOfStream();
  EXPECT_EQ(t.player(1).state, platform::Playing);
  EXPECT_EQ(t.form().picture("Pause", 1).picture(), "play2.bmp");
  EXPECT_EQ(t.player(0).file, "/music/a1.mp3");
}

TEST_F(AutomixTest, AnEmptyDeckCountsAsEndedWhileTheOtherListHasASong) {
  list(0, 2);
  playAt(0, 1);
  t.player(0).clearCalls();
  play::autoCheck(t.p);  // B has no song: nothing to start for A's end, A is started for B's
  EXPECT_FALSE(t.player(1).called("play"));
  EXPECT_TRUE(t.player(0).called("play"));
  option("autocrossfadeplay", true);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 2);

  t.p.mixer.switchPhase = 0;
  t.p.mixer.switchBusy = false;
  t.player(0).clearCalls();
  option("autoplay2", false);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  EXPECT_TRUE(t.player(0).calls.empty());
}

TEST_F(AutomixTest, AutomaticCrossfadeStartsFaderTimeOverTwentyBeforeTheEnd) {
  option("autocrossfadeplay", true);
  list(0, 2, 60);
  list(1, 2, 60);
  faderAt(-500);
  playAt(0, 57.49);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  playAt(0, 57.51);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 1);
  EXPECT_TRUE(t.player(1).called("play"));
  play::autoCheck(t.p);  // held while the fade runs
  EXPECT_EQ(t.p.mixer.switchPhase, 1);

  t.p.settings.faderTime[2] = 100;  // the lead follows the pattern in use: 5 s
  t.p.mixer.faderPattern = 2;
  t.p.mixer.switchPhase = 0;
  t.p.mixer.switchBusy = false;
  faderAt(-500);
  playAt(0, 54.99);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  playAt(0, 55.01);
  play::autoCheck(t.p);
  EXPECT_EQ(t.p.mixer.switchPhase, 1);
}

TEST_F(AutomixTest, ACompletedFadeIsNotFollowedByAFadeBackWhileTheOldSongEnds) {
  option("autocrossfadeplay", true);
  list(0, 2, 60);
  list(1, 2, 60);
  faderAt(-500);
  playAt(0, 57.6);
  for (int i = 0; i < 72; ++i) tick();
  EXPECT_EQ(left(), 6630);
  EXPECT_FALSE(t.p.mixer.switchBusy);
  for (int i = 0; i < 20; ++i) tick();  // deck A still has its last second to play
  EXPECT_EQ(left(), 6630);
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
}

TEST_F(AutomixTest, AFaderNudgedOffTheEndAfterAFadeDoesNotFadeBack) {
  option("autocrossfadeplay", true);
  list(0, 2, 60);
  list(1, 2, 60);
  playAt(0, 58);
  fader(mixer::kFaderBEnd - 1);  // one twip from the end
  tick();
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  faderAt(500 - mixer::fadeStepSize(t.p));  // the last step of a fade still counts as arrived
  tick();
  EXPECT_EQ(t.p.mixer.switchPhase, 0);
  faderAt(500 - mixer::fadeStepSize(t.p) - 1);
  tick();
  EXPECT_EQ(t.p.mixer.switchPhase, 2);
}

TEST_F(AutomixTest, CutInCutsOnceAndWaitsForTheEndOfTheSong) {
  option("autocrossfadeplay", true);
  mixer::FDpaturn_Click(t.p, 3);
  list(0, 2, 60);
  list(1, 2, 60);
  playAt(0, 58);
  faderAt(-10);
  tick();
  EXPECT_EQ(left(), 6630);
  EXPECT_EQ(volume(0), -10000);
  for (int i = 0; i < 10; ++i) tick();
  EXPECT_EQ(left(), 6630);
  EXPECT_EQ(t.player(1).count("play"), 1);

  play::nonstop(t.p, 0);
  playAt(1, 58);
  tick();
  EXPECT_EQ(left(), 3630);
  tick();
  EXPECT_EQ(left(), 3630);
}

TEST_F(AutomixTest, EndOfSongStopsTheDeckAndLoadsItsNextSongPaused) {
  list(0, 3);
  list(1, 3);
  songlist::SongList(t.p.main, 1).setValue(songlist::Cue, 0, "12.5");
  t.p.window.barMode = true;
  t.form().label("lbfilename", 1).setCaption("b0.mp3");
  playAt(1, 1.5);
  t.player(1).length = 200.5;
  playAt(0, 5);
  t.player(0).clearCalls();
  play::nonstop(t.p, 0);
  EXPECT_EQ(t.player(0).calls.front(), "stop");
  EXPECT_EQ(t.player(0).file, "/music/a1.mp3");
  EXPECT_EQ(selected(0), 1);
  EXPECT_EQ(t.form().listBox("vollis", 0).listIndex(), 1);
  EXPECT_NE(t.player(0).state, platform::Playing);
  EXPECT_TRUE(t.p.deck[0].deckIdle);
  EXPECT_EQ(t.form().label("Totaltime", 1).caption(), "/03'20");
  EXPECT_EQ(t.form().picture("Pause", 1).picture(), "play2.bmp");
  EXPECT_EQ(t.form().picture("Pause", 0).picture(), "play1.bmp");
  EXPECT_EQ(t.form().picture("Play", 1).picture(), "cue2.bmp");
  EXPECT_EQ(t.p.lastPlayedDeck, 1);
  EXPECT_EQ(t.form().label("topbar").caption(), "b0.mp3");
  EXPECT_EQ(t.player(1).state, platform::Playing);

  // The lamp reads the continuing deck's cue list at that list's own selection.
  t.form().listBox("cuelis", 0).setListIndex(0);
  t.form().listBox("tempolis", 0).setListIndex(2);
  play::nonstop(t.p, 1);
  EXPECT_EQ(t.form().picture("Play", 0).picture(), "cue1.bmp");
  EXPECT_EQ(selected(1), 1);
}

TEST_F(AutomixTest, OnlyTheEndOfDeckBStopsTheMonitor) {
  list(0, 2);
  list(1, 2);
  t.p.monitor.monitorDeck = 1;
  play::nonstop(t.p, 0);
  EXPECT_FALSE(t.monitor.called("stop"));
  play::nonstop(t.p, 1);
  EXPECT_TRUE(t.monitor.called("stop"));
}

TEST_F(AutomixTest, EndOfSongDoesNothingWithoutContinuousPlayOrASongOnTheOtherSide) {
  list(0, 2);
  playAt(0, 5);
  play::nonstop(t.p, 0);  // B's list is empty
  EXPECT_FALSE(t.player(0).called("stop"));
  list(1, 2);
  option("autoplay2", false);
  play::nonstop(t.p, 0);
  EXPECT_FALSE(t.player(0).called("stop"));
  EXPECT_EQ(selected(0), 0);
}

TEST_F(AutomixTest, RandomPlayFollowsTheNeverSeededSequence) {
  option("random", true);
  list(0, 10);
  list(1, 1);
  std::vector<int> loaded;
  for (int i = 0; i < 6; ++i) {
    play::nonstop(t.p, 0);
    loaded.push_back(selected(0));
  }
  // Picks Int(10 * r) of the classic sequence 0.7055475, 0.533424, 0.5795186, 0.2895625,
  // 0.301948, 0.7747401; the song after each pick is loaded.
  EXPECT_EQ(loaded, (std::vector<int>{8, 6, 6, 3, 4, 8}));

  // A one-song list wraps back to its only entry.
  play::nonstop(t.p, 1);
  EXPECT_EQ(selected(1), 0);
}

TEST_F(AutomixTest, MenuOptionsToggleTheirCheckMark) {
  for (const char* entry : {"autoplay2", "autocrossfadeplay", "random", "countdown"}) {
    const bool before = t.form().menu(entry).checked();
    t.form().menu(entry).events.click();
    EXPECT_NE(t.form().menu(entry).checked(), before) << entry;
    t.form().menu(entry).events.click();
    EXPECT_EQ(t.form().menu(entry).checked(), before) << entry;
  }
}

}  // namespace
}  // namespace vx::test
