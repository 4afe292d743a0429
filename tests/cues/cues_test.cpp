// Hot cues, loops and beat-aligned sync as the deck logic drives them through the player port.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "cues/cue_store.h"
#include "cues/hot_cues.h"
#include "cues/loops.h"
#include "play/sync.h"
#include "tempo/tempo_cache.h"
#include "tests/support/test_program.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::TestProgram;
constexpr double kRate = 44100;

bool loopCalls(const test::FakeMediaPlayer& deck) {
  for (const auto& c : deck.calls)
    if (c.rfind("loop=", 0) == 0) return true;
  return false;
}

class Cues : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-cues-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  std::unique_ptr<TestProgram> t = std::make_unique<TestProgram>();

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    t->p.settingsPath = (dir / "velvoxp.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  Program& p() { return t->p; }
  std::string song(const std::string& name, const std::string& bytes = "song") {
    const auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  void load(int deck, const std::string& path) {
    t->addSong(deck, path);
    cues::loopTick(p(), deck);
  }
  void press(int pad, form::MouseButton button = form::MouseButton::Left, int shift = 0) {
    form::MouseEvent e = test::mouseAt(10, 10, button);
    e.shift = shift;
    p().main.picture("hotcue", pad).events.mouseDown(e);
  }
  std::string pad(int n) { return p().main.picture("hotcue", n).picture(); }
  // A song with a beat grid of `bpm` whose first beat is at `firstBeat` seconds.
  void giveGrid(int deck, const std::string& path, double bpm, double firstBeat) {
    platform::TempoResult r{deck, path, bpm, 200};
    r.firstBeat = firstBeat;
    r.beatLength = 60.0 / bpm;
    tempo::storeAnalysis(p(), r);
    p().tempo.songPath[deck] = path;
    p().tempo.songBpm[deck] = bpm;
  }
};

TEST_F(Cues, APadStoresTheSampleJumpsBackAndClears) {
  const auto path = song("a.wav");
  load(0, path);
  auto& deck = t->player(0);
  deck.position = 12345.0 / kRate;
  press(3);
  EXPECT_EQ(p().cues.hot[0][3], 12345);
  EXPECT_EQ(pad(3), "hotcue42.bmp");
  EXPECT_EQ(pad(11), "hotcue41.bmp") << "deck B's pads are its own";
  // Playing: the jump lands on the stored sample and the deck plays on.
  deck.state = platform::Playing;
  deck.position = 50;
  press(3);
  EXPECT_EQ(std::llround(deck.position * kRate), 12345);
  EXPECT_DOUBLE_EQ(deck.position, 12345.0 / kRate);
  EXPECT_EQ(deck.state, platform::Playing);
  // Paused: the deck moves and stays paused.
  deck.state = platform::Paused;
  deck.position = 70;
  press(3);
  EXPECT_DOUBLE_EQ(deck.position, 12345.0 / kRate);
  EXPECT_FALSE(deck.called("play"));
  // Shift or the right button clears; the next press stores again.
  press(3, form::MouseButton::Left, form::ShiftKey);
  EXPECT_EQ(p().cues.hot[0][3], -1);
  EXPECT_EQ(pad(3), "hotcue41.bmp");
  deck.position = 0;
  press(3);
  EXPECT_EQ(p().cues.hot[0][3], 0) << "a cue at the very start";
  press(3, form::MouseButton::Right);
  EXPECT_EQ(p().cues.hot[0][3], -1);
  // At the very end: the last sample, not beyond.
  deck.position = deck.length + 1;
  press(0);
  EXPECT_EQ(p().cues.hot[0][0], static_cast<int64_t>(deck.length * kRate));
}

TEST_F(Cues, HotCuesComeBackAfterARestartAndAreDroppedForAChangedFile) {
  const auto a = song("a.wav"), b = song("b.wav");
  load(0, a);
  t->player(0).position = 1.5;
  press(0);
  t->player(0).position = 2.25;
  press(7);
  load(1, b);
  t->player(1).position = 3;
  press(9);
  // A new program on the same home folder.
  t = std::make_unique<TestProgram>();
  p().settingsPath = (dir / "velvoxp.ini").string();
  load(1, a);
  EXPECT_EQ(p().cues.hot[1][0], std::llround(1.5 * kRate));
  EXPECT_EQ(p().cues.hot[1][7], std::llround(2.25 * kRate));
  EXPECT_EQ(pad(8), "hotcue12.bmp");
  EXPECT_EQ(pad(9), "hotcue21.bmp");
  // b replaced by another song under the same name: its cues would point anywhere.
  song("b.wav", "another song, longer");
  load(0, b);
  for (int i = 0; i < kHotCues; ++i) EXPECT_EQ(p().cues.hot[0][i], -1);
  // Replaced again while its name stays in the deck (loaded anew under it): the old pads are
  // not the new song's places.
  t->player(0).position = 4;
  press(2);
  song("b.wav", "a third song, longer still");
  t->player(0).position = 1;
  press(2);
  EXPECT_EQ(p().cues.hot[0][2], std::llround(1.0 * kRate)) << "stored anew, not a jump to the old place";
  EXPECT_DOUBLE_EQ(t->player(0).position, 1.0);
  cues::hotCuePress(p(), 2, true);
  t = std::make_unique<TestProgram>();
  p().settingsPath = (dir / "velvoxp.ini").string();
  EXPECT_EQ(p().cues.songs.size(), 0u);
  EXPECT_EQ(cues::storedCues(p(), a)[0], std::llround(1.5 * kRate));
  EXPECT_EQ(p().cues.songs.count(b), 0u);
}

TEST_F(Cues, ADamagedCueFileCostsOnlyItsBadLines) {
  const auto a = song("a.wav");
  const auto stamp = *tempo::fileStamp(a);
  const std::string good = std::to_string(stamp.size) + "\t" + std::to_string(stamp.mtime) + "\t5,-,-,-,-,-,-,9\t" + a;
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
  {
    std::ofstream f(cues::cueFilePath(p()), std::ios::binary);
    f << junk << "\n1\t2\t1,2,3\t/short\n-1\tx\t-,-,-,-,-,-,-,-\t/bad\n1\t2\t-,-,-,-,-,-,-,-\t\n" << good << "\n";
    for (int i = 0; i < 100000; ++i) f << "1\t2\t-,-,-,-,-,-,-,-,-\t/too/many/" << i << "\n";
  }
  load(0, a);
  EXPECT_EQ(p().cues.hot[0][0], 5);
  EXPECT_EQ(p().cues.hot[0][7], 9);
  EXPECT_EQ(p().cues.songs.size(), 1u);
  EXPECT_EQ(t->dialogs.count("msgbox"), 0);
  // A hundred thousand good lines are read; more are left.
  std::vector<std::string> many(cues::kMaxSongs + 5, "1\t2\t1,-,-,-,-,-,-,-\t/s");
  for (size_t i = 0; i < many.size(); ++i) many[i] += std::to_string(i);
  EXPECT_EQ(cues::parseCueLines(many).size(), cues::kMaxSongs);
}

TEST_F(Cues, LoopButtonsMarkRefuseAndResize) {
  load(0, song("a.wav"));
  auto& deck = t->player(0);
  // OUT before any IN, and OUT before IN: refused.
  deck.position = 2;
  cues::loopOut(p(), 0);
  EXPECT_FALSE(loopCalls(deck));
  cues::loopIn(p(), 0);
  deck.position = 1;
  cues::loopOut(p(), 0);
  EXPECT_EQ(deck.loopIn(), -1);
  deck.position = 2 + 1.0 / kRate;
  cues::loopOut(p(), 0);
  EXPECT_EQ(deck.loopIn(), std::llround(2 * kRate));
  EXPECT_EQ(deck.loopOut(), deck.loopIn() + 1) << "a loop of a single sample is still a loop";
  EXPECT_EQ(p().main.picture("loopin", 0).picture(), "loopin2.bmp");
  cues::doubleLoop(p(), 0);
  EXPECT_EQ(deck.loopOut() - deck.loopIn(), 2);
  cues::halveLoop(p(), 0);
  cues::halveLoop(p(), 0);
  EXPECT_EQ(deck.loopOut() - deck.loopIn(), 1) << "never shorter than a sample";
  cues::exitLoop(p(), 0);
  EXPECT_EQ(deck.loopIn(), -1);
  EXPECT_EQ(p().main.picture("loopexit", 0).picture(), "loopexit1.bmp");
  // Halved while the play head is in the second half: the player would keep the loop behind it,
  // so the deck goes on at the same place in the first half.
  deck.setLoop(std::llround(2 * kRate), std::llround(4 * kRate));
  deck.state = platform::Playing;
  deck.position = 3.5;
  cues::halveLoop(p(), 0);
  EXPECT_EQ(deck.loopOut(), std::llround(3 * kRate));
  EXPECT_DOUBLE_EQ(deck.position, 2.5);
}

TEST_F(Cues, BeatLoopsStartOnTheCurrentBeatAndNeedAGrid) {
  const auto path = song("a.wav");
  load(0, path);
  auto& deck = t->player(0);
  deck.position = 10.3;
  t->clearCalls();
  p().main.picture("beatloop", 3).events.click();
  EXPECT_FALSE(loopCalls(deck)) << "no grid: nothing happens";
  EXPECT_EQ(t->dialogs.count("msgbox"), 0) << "and nothing is said";
  giveGrid(0, path, 120, 0.1);
  p().main.picture("beatloop", 3).events.click();
  // The beat at 10.1 s; four beats at 120 BPM are 2.000 s.
  EXPECT_EQ(deck.loopIn(), std::llround(10.1 * kRate));
  EXPECT_EQ(deck.loopOut() - deck.loopIn(), 88200);
  EXPECT_EQ(p().main.picture("beatloop", 3).picture(), "beatloop42.bmp");
  p().main.picture("loophalf", 0).events.click();
  EXPECT_EQ(deck.loopOut() - deck.loopIn(), 44100);
  EXPECT_EQ(p().main.picture("beatloop", 2).picture(), "beatloop32.bmp");
  // The half-beat loop starts on the current half beat.
  p().main.picture("beatloop", 0).events.click();
  EXPECT_EQ(deck.loopIn(), std::llround(10.1 * kRate));
  deck.position = 10.7;
  p().main.picture("beatloop", 0).events.click();
  EXPECT_EQ(deck.loopIn(), -1) << "pressed again, the loop ends";
  p().main.picture("beatloop", 0).events.click();
  EXPECT_EQ(deck.loopIn(), std::llround(10.6 * kRate));
}

// Two click tracks: A at 120 BPM, B at 125 BPM with its beats a third of a beat off. After the
// sync, B's clicks fall within 5 ms of A's for the rest of the mix.
TEST_F(Cues, SyncAlignsTheBeatsWhenBothDecksHaveAGrid) {
  const auto a = song("a.wav"), b = song("b.wav");
  load(0, a);
  load(1, b);
  giveGrid(0, a, 120, 0.0);
  giveGrid(1, b, 125, 0.48 / 3);
  auto& deckA = t->player(0);
  auto& deckB = t->player(1);
  deckA.state = deckB.state = platform::Playing;
  deckA.position = 20.0;
  deckB.position = 31.0;
  play::syncTempo(p(), 1);
  ASSERT_NEAR(deckB.rateValue * 125, 120, 1e-3) << (t->dialogs.shown.empty() ? "" : t->dialogs.shown.back().text);
  // Real time until each click of A, and of B, over the next minute.
  auto clicks = [](double position, double rate, double first, double beat, size_t count) {
    std::vector<double> at;
    for (double k = std::ceil((position - first) / beat); at.size() < count; ++k) at.push_back((first + k * beat - position) / rate);
    return at;
  };
  const auto ta = clicks(deckA.position, deckA.rateValue, 0.0, 0.5, 130);
  const auto tb = clicks(deckB.position, deckB.rateValue, 0.48 / 3, 0.48, 120);
  for (double x : tb) {
    double nearest = 1e9;
    for (double y : ta) nearest = std::min(nearest, std::fabs(x - y));
    EXPECT_LT(nearest, 0.005);
  }
  // Without a grid on one deck, the tempo only, as before.
  p().tempo.cache.clear();
  deckB.position = 31.0;
  tempo::storeTempo(p(), b, 125);
  play::syncTempo(p(), 1);
  EXPECT_DOUBLE_EQ(deckB.position, 31.0);
}

}  // namespace
}  // namespace vx
