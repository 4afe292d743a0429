// The pitch slider: rate, label and tempo code from the knob, the lock, the mouse and the monitor.
#include "decks/pitch.h"
#include "deck_fixture.h"
#include "songlist/song_list.h"

namespace vx::test {
namespace {

class PitchTest : public DeckFixture {
 protected:
  // Presses the track so that the knob's top lands on `top` (the knob is centred on the pointer).
  void pressTrackForKnobTop(int deck, double top) {
    control("pitchbase", deck).events.mouseDown(at(10, top - 1560 + 127.5));
    control("pitchbase", deck).events.mouseUp(at(10, 0));
  }
  std::string tempoCode(int deck) { return songlist::SongList(t.p.main, deck).selectedValue(songlist::Tempo); }
};

TEST_F(PitchTest, KnobPositionGivesRateLabelAndTempoCode) {
  struct Row { double top; double rate; const char* label; const char* code; };
  const Row rows[] = {
      {3352.5, 1.21166666, "+21.1%", " 131.75"},
      {1432.5, 0.785, "-21.5%", " 67.75"},
      {2700, 1.0666667, "+06.6%", " 110"},
      {2399, 0.99977778, "-00.1%", " 99.96667"},
      {2400, 1, "00.0%", " 100"},
  };
  t.addSong(1, "/music/b.mp3");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.top);
    t.p.pitchLockTicks = 0;
    pressTrackForKnobTop(1, r.top);
    EXPECT_DOUBLE_EQ(t.form().picture("pitchbtn", 1).top(), r.top);
    EXPECT_NEAR(t.player(1).rateValue, r.rate, 1e-6);
    EXPECT_EQ(t.form().label("Pitchper", 1).caption(), r.label);
    EXPECT_EQ(tempoCode(1), r.code);
    EXPECT_EQ(t.p.pitchLockTicks, 8);
  }
}

TEST_F(PitchTest, ChangesWithin240MsAfterAnAppliedOneAreDropped) {
  t.addSong(0, "/music/a.mp3");
  pressTrackForKnobTop(0, 2700);
  tick(7);
  pressTrackForKnobTop(0, 3000);
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 3000);  // the knob moves, the rate does not
  EXPECT_NEAR(t.player(0).rateValue, 1.0666667, 1e-6);
  EXPECT_EQ(t.form().label("Pitchper", 0).caption(), "+06.6%");
  tick();
  pressTrackForKnobTop(0, 3000);
  EXPECT_NEAR(t.player(0).rateValue, 1.1333333, 1e-6);
}

TEST_F(PitchTest, DragFromTheKnobStaysInsideTheTrack) {
  t.addSong(0, "/music/a.mp3");
  auto& knob = control("pitchbtn", 0);
  knob.events.mouseDown(at(247.5, 127.5));  // the knob's own centre: it stays at 2400
  EXPECT_EQ(knob.top(), 2400);
  EXPECT_TRUE(t.p.deck[0].pitchDragging);
  t.p.pitchLockTicks = 0;
  knob.events.mouseMove(at(247.5, 127.5 + 300));
  EXPECT_EQ(knob.top(), 2700);
  t.p.pitchLockTicks = 0;
  knob.events.mouseMove(at(247.5, 5000));  // below the track: ignored
  knob.events.mouseMove(at(600, 127.5));   // right of the track: ignored
  EXPECT_EQ(knob.top(), 2700);
  knob.events.mouseUp(at(0, 0, form::MouseButton::Right));
  EXPECT_FALSE(t.p.deck[0].pitchDragging);
  control("pitchbase", 0).events.mouseMove(at(10, 100));  // no drag: ignored
  EXPECT_EQ(knob.top(), 2700);
}

// The player reports the rate it really took; the difference to the rate asked for moves the
// position on by 2.3 s per unit of rate, forward when the player falls short of a faster rate.
TEST_F(PitchTest, RateThePlayerCannotTakeCorrectsThePosition) {
  playing(0, 10);
  t.form().picture("pitchbtn", 0).setTop(9000);  // asks for 2.4667, the player stops at 2
  decks::applyPitch(t.p, 0);
  EXPECT_EQ(t.player(0).rateValue, 2);
  EXPECT_NEAR(t.player(0).position, 10 + 2.3 * (static_cast<float>((9000 - 2400) / 4500.0 + 1) - 2), 1e-9);
  EXPECT_GT(t.player(0).position, 11);
}

TEST_F(PitchTest, ResetLabelReturnsTheKnobToTheCentre) {
  t.addSong(0, "/music/a.mp3");
  pressTrackForKnobTop(0, 3000);
  t.p.pitchLockTicks = 0;
  control("def", 0).events.click();
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 2400);
  EXPECT_EQ(t.player(0).rateValue, 1);
  EXPECT_EQ(t.form().label("Pitchper", 0).caption(), "00.0%");
}

TEST_F(PitchTest, MonitoredPlayingDeckRealignsTheMonitorAtTheNewPitch) {
  playing(0, 10);
  t.p.monitor.monitorSampleRate = 44100;
  t.clearCalls();
  pressTrackForKnobTop(0, 3352.5);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setPitch 121", "play", "setPlaySamples 441000"}));
  EXPECT_EQ(t.player(0).position, 10);

  // A paused monitored deck only changes the monitor's pitch; another deck leaves it alone.
  t.player(0).state = platform::Paused;
  t.p.pitchLockTicks = 0;
  t.clearCalls();
  pressTrackForKnobTop(0, 2400);
  EXPECT_EQ(t.monitor.calls, (std::vector<std::string>{"setPitch 100"}));
  playing(1, 3);
  t.clearCalls();
  t.p.pitchLockTicks = 0;
  pressTrackForKnobTop(1, 2700);
  EXPECT_TRUE(t.monitor.calls.empty());
}

}  // namespace
}  // namespace vx::test
