// When the window may let the main tick rest: only in states where ticks change nothing by
// themselves, so that resting is never seen.
#include "decks/tick_rest.h"
#include "deck_fixture.h"

namespace vx::test {
namespace {

class TickRestTest : public DeckFixture {
 protected:
  bool canRest() { return decks::mainTickCanRest(t.p); }
  uint64_t revisions() {
    uint64_t sum = t.p.main.revision();
    for (const form::Control* c : t.form().controls()) sum += c->revision();
    return sum;
  }
  // Thirty ticks (0.9 s) change no control and call no player.
  void expectTicksChangeNothing(const std::string& state) {
    t.clearCalls();
    uint64_t before = revisions();
    tick(30);
    EXPECT_EQ(revisions(), before) << state;
    EXPECT_TRUE(t.player(0).calls.empty() && t.player(1).calls.empty() && t.monitor.calls.empty()) << state;
  }
};

TEST_F(TickRestTest, RestsInTheStatesWhereTicksChangeNothing) {
  ASSERT_TRUE(canRest()) << "nothing loaded";
  expectTicksChangeNothing("nothing loaded");

  t.addSong(0, "/music/short.mp3");
  t.addSong(1, "/music/other.mp3");
  t.p.deck[0].deckIdle = t.p.deck[1].deckIdle = true;
  tick();  // the time displays take their first values
  ASSERT_TRUE(canRest()) << "two songs loaded, titles that fit";
  expectTicksChangeNothing("two songs loaded");

  t.player(0).state = platform::Paused;
  t.player(0).position = 42.5;
  t.p.deck[0].deckIdle = false;
  ASSERT_TRUE(canRest()) << "paused in the middle";
  expectTicksChangeNothing("paused in the middle");

  t.p.window.barMode = true;
  t.p.lastPlayedDeck = 0;
  tick();
  ASSERT_TRUE(canRest()) << "bar mode, a title that fits";
  expectTicksChangeNothing("bar mode");
}

TEST_F(TickRestTest, KeepsTickingWhileSomethingPlaysCountsOrMoves) {
  t.addSong(0, "/music/short.mp3");
  auto expectBusy = [&](const char* why, auto set, auto undo) {
    set();
    EXPECT_FALSE(canRest()) << why;
    undo();
    EXPECT_TRUE(canRest()) << "after " << why;
  };
  auto& d = t.p.deck[0];
  expectBusy("a deck plays", [&] { t.player(0).state = platform::Playing; }, [&] { t.player(0).state = platform::Paused; });
  expectBusy("a frozen deck", [&] { d.stutterArmed = true; }, [&] { d.stutterArmed = false; });
  expectBusy("a held search button", [&] { d.searchForwardHeld = true; }, [&] { d.searchForwardHeld = false; });
  expectBusy("the pitch lock", [&] { t.p.pitchLockTicks = 3; }, [&] { t.p.pitchLockTicks = 0; });
  expectBusy("an automatic fade", [&] { t.p.mixer.switchPhase = 1; }, [&] { t.p.mixer.switchPhase = 0; });
  expectBusy("a tempo being found", [&] { t.p.tempo.analysing[1] = true; }, [&] { t.p.tempo.analysing[1] = false; });
}

TEST_F(TickRestTest, ALongTitleScrollsWhileItsDeckIsIdleOrShownInTheBar) {
  t.form().menu("autoplay2").setChecked(false);  // deck A stays empty: continuous play would start B
  t.addSong(1, "/music/a title too long for the display.mp3");
  t.p.deck[1].deckIdle = true;
  EXPECT_FALSE(canRest());
  std::string before = t.form().label("text2", 1).caption();
  tick(20);
  EXPECT_NE(t.form().label("text2", 1).caption(), before) << "the reason to keep ticking: the title moves";

  t.p.deck[1].deckIdle = false;
  EXPECT_TRUE(canRest());
  t.p.window.barMode = true;
  t.p.lastPlayedDeck = 1;
  EXPECT_FALSE(canRest()) << "the bar scrolls the last played deck's title";
  t.p.window.miniMode = true;
  EXPECT_TRUE(canRest()) << "mini mode shows the title in the caption, without scrolling";
}

}  // namespace
}  // namespace vx::test
