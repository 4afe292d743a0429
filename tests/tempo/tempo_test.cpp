#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "decks/pitch.h"
#include "play/sync.h"
#include "songlist/song_list.h"
#include "tempo/deck_tempo.h"
#include "tempo/tempo_cache.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Records the requests; the test hands out the answers.
class FakeTempoAnalysis : public platform::TempoAnalysis {
 public:
  std::vector<std::pair<int, std::string>> asked;
  std::vector<platform::TempoResult> ready;
  void analyse(int deck, const std::string& path) override { asked.emplace_back(deck, path); }
  void deliver(const std::function<void(const platform::TempoResult&)>& take) override {
    auto now = std::move(ready);
    ready.clear();
    for (const auto& r : now) take(r);
  }
};

class TempoTest : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-tempo-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  FakeTempoAnalysis analysis;
  TestProgram t;
  Program& p = t.p;

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    p.settingsPath = (dir / "velvoxp.ini").string();
    p.ports.tempo = &analysis;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string song(const std::string& name, const std::string& bytes = "x") {
    const auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  void load(int deck, const std::string& path) {
    t.addSong(deck, path);
    tick();
  }
  void tick() { tempo::tempoTick(p); }
  void answer(int deck, const std::string& path, double bpm) {
    analysis.ready.push_back({deck, path, bpm});
    tick();
  }
  std::string shown(int deck) { return p.main.label("bpm", deck).caption(); }
  // Both decks hold analysed songs of these tempos.
  void decksAt(double a, double b) {
    load(0, song("a.mp3"));
    answer(0, song("a.mp3"), a);
    load(1, song("b.mp3"));
    answer(1, song("b.mp3"), b);
  }
  double knobTop(int deck) { return p.main.picture("pitchbtn", deck).top(); }
};

TEST_F(TempoTest, ALoadedSongIsAnalysedOnceAndShownScaledByTheRate) {
  const auto a = song("a.mp3");
  load(0, a);
  EXPECT_EQ(analysis.asked, (std::vector<std::pair<int, std::string>>{{0, a}}));
  EXPECT_EQ(shown(0), tempo::kAnalysingMark);
  answer(0, a, 128);
  EXPECT_EQ(shown(0), "128.0");
  t.player(0).rateValue = 1.05f;
  tick();
  EXPECT_EQ(shown(0), "134.4");

  // Loaded again, or into the other deck: the cache answers at once.
  load(0, song("b.mp3"));
  load(0, a);
  load(1, a);
  EXPECT_EQ(analysis.asked.size(), 2u);
  EXPECT_EQ(shown(1), "128.0");
}

TEST_F(TempoTest, TheCacheOutlivesTheProgramAndForgetsAChangedFile) {
  const auto a = song("a.mp3");
  load(0, a);
  answer(0, a, 125);
  ASSERT_TRUE(fs::exists(tempo::cachePath(p)));
  {
    TestProgram second;
    FakeTempoAnalysis fresh;
    second.p.settingsPath = p.settingsPath;
    second.p.ports.tempo = &fresh;
    second.addSong(1, a);
    tempo::tempoTick(second.p);
    EXPECT_TRUE(fresh.asked.empty());
    EXPECT_EQ(second.p.main.label("bpm", 1).caption(), "125.0");
  }
  song("a.mp3", "changed, longer");
  load(0, song("c.mp3"));
  load(0, a);
  EXPECT_EQ(analysis.asked.size(), 3u);
}

TEST_F(TempoTest, NoTempoShowsNothingAndAnOlderAnswerDoesNotOverwriteTheNewSong) {
  const auto a = song("a.mp3"), b = song("b.mp3");
  load(0, a);
  load(0, b);
  answer(0, a, 140);  // the deck moved on before the first analysis ended
  EXPECT_EQ(shown(0), tempo::kAnalysingMark);
  answer(0, b, 0);
  EXPECT_EQ(shown(0), "");
  t.player(1).failingPaths.insert(a);
  load(1, a);
  EXPECT_EQ(analysis.asked.size(), 2u) << "a song the player cannot open is not analysed";
  EXPECT_EQ(shown(1), "");
}

TEST_F(TempoTest, SyncOf125To120GivesRate096ThroughThePitchOperation) {
  decksAt(125, 120);
  play::syncTempo(p, 0);
  EXPECT_FLOAT_EQ(static_cast<float>(t.player(0).rate()), 0.96f);
  EXPECT_EQ(p.main.label("Pitchper", 0).caption(), "-04.0%");
  EXPECT_EQ(songlist::SongList(p.main, 0).selectedValue(songlist::Tempo), " 94");
  EXPECT_EQ(p.pitchLockTicks, 8);
  tick();
  EXPECT_EQ(shown(0), "120.0");
  EXPECT_TRUE(t.dialogs.messages().empty());
}

TEST_F(TempoTest, SyncBeyondTheKnobUsesHalfOrDoubleTempoOrSaysWhy) {
  decksAt(70, 128);  // 128 needs 1.83; 64 fits at 0.914
  play::syncTempo(p, 0);
  EXPECT_NEAR(t.player(0).rate(), 64.0 / 70, 1e-6);
  p.pitchLockTicks = 0;

  decksAt(100, 150);  // 1.5, 0.75 and 3.0 are all beyond the knob
  const double before = knobTop(0);
  play::syncTempo(p, 0);
  EXPECT_EQ(knobTop(0), before);
  EXPECT_EQ(t.dialogs.messages(), Strings{"テンポの差がピッチの範囲を超えるため合わせられません。"});
}

TEST_F(TempoTest, SyncNeedsBothTemposAndWaitsForThePitchLock) {
  load(0, song("a.mp3"));
  load(1, song("b.mp3"));
  answer(1, song("b.mp3"), 120);
  p.main.label("bpm", 0).events.click();  // deck A still analysing
  EXPECT_EQ(t.dialogs.messages(), Strings{"テンポが分からないため合わせられません。"});
  answer(0, song("a.mp3"), 125);
  p.pitchLockTicks = 3;
  p.main.label("bpm", 0).events.click();
  EXPECT_EQ(knobTop(0), decks::kPitchCentre);
  p.pitchLockTicks = 0;
  p.keys.focusDeck = 0;
  p.main.keyDown(play::kSyncKey, 0);
  p.main.keyUp(play::kSyncKey, 0);
  EXPECT_EQ(knobTop(0), 2220);
}

TEST_F(TempoTest, FourTapsSetTheTempoOfASongWithoutOne) {
  const auto a = song("a.mp3");
  load(0, a);
  answer(0, a, 0);
  t.player(0).rateValue = 0.96;
  for (double s : {10.0, 10.5, 11.0}) play::tapTempo(p, 0, s);
  tick();
  EXPECT_EQ(shown(0), "");
  play::tapTempo(p, 0, 11.5);
  tick();
  EXPECT_EQ(shown(0), "120.0");
  EXPECT_NEAR(p.tempo.songBpm[0], 125, 1e-9) << "kept at normal speed";
  play::tapTempo(p, 0, 11.98);  // a fifth tap refines
  tick();
  EXPECT_EQ(shown(0), "121.2");
}

TEST_F(TempoTest, TapsLeaveAnAnalysedTempoAlone) {
  decksAt(128, 120);
  for (double s : {1.0, 1.5, 2.0, 2.5}) play::tapTempo(p, 0, s);
  EXPECT_EQ(p.tempo.songBpm[0], 128);
}

TEST(TempoCache, DamagedLinesAreSkippedAndPathsKeepTheirTabs) {
  std::map<std::string, TempoCacheEntry> cache{{"/m/a\tb.mp3", {10, 20, 127.5, 301.25}}, {"/m/c.mp3", {1, 2, 0, 0}}};
  auto lines = tempo::cacheLines(cache);
  lines.push_back("garbage");
  lines.push_back("nan\t1\t2\t0\t/x.mp3");
  lines.push_back("120\t1\t\t0\t/y.mp3");
  lines.push_back("120\t1\t2\t/z.mp3");
  const auto back = tempo::parseCache(lines);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back.at("/m/a\tb.mp3").bpm, 127.5);
  EXPECT_EQ(back.at("/m/a\tb.mp3").seconds, 301.25);
  EXPECT_EQ(back.at("/m/c.mp3").mtime, 2);
}

// A finished analysis of the file with every part filled in.
platform::TempoResult fullAnalysis(int deck, const std::string& path, double bpm) {
  platform::TempoResult r{deck, path, bpm, 200};
  r.firstBeat = 0.25;
  r.beatLength = bpm > 0 ? 60 / bpm : 0;
  r.loudness = -9.5;
  r.overview.resize(platform::kOverviewColumns, {-0.5f, 0.5f});
  r.overview[700] = {-1, 1};
  return r;
}

TEST_F(TempoTest, AnAnalysedSongIsNotDecodedAgainUntilItsFileChanges) {
  const auto a = song("a.mp3");
  load(0, a);
  analysis.ready.push_back(fullAnalysis(0, a, 128));
  tick();
  {
    // The next start: the analysis comes from the file beside the settings.
    TestProgram again;
    FakeTempoAnalysis second;
    again.p.settingsPath = p.settingsPath;
    again.p.ports.tempo = &second;
    again.addSong(0, a);
    tempo::tempoTick(again.p);
    EXPECT_TRUE(second.asked.empty()) << "a cached song is not decoded";
    EXPECT_EQ(again.p.main.label("bpm", 0).caption(), "128.0");
    const auto* e = tempo::cachedAnalysis(again.p, a);
    ASSERT_TRUE(e);
    EXPECT_DOUBLE_EQ(e->firstBeat, 0.25);
    EXPECT_DOUBLE_EQ(e->beatLength, 60.0 / 128);
    EXPECT_EQ(e->loudness, -9.5);
    ASSERT_EQ(e->overview.size(), static_cast<size_t>(platform::kOverviewColumns));
    EXPECT_NEAR(e->overview[0].high, 0.5, 0.005);
    EXPECT_NEAR(e->overview[700].low, -1, 0.005);
  }
  // Another song under the same name: analysed again.
  song("a.mp3", "another song, longer");
  TestProgram again;
  FakeTempoAnalysis second;
  again.p.settingsPath = p.settingsPath;
  again.p.ports.tempo = &second;
  again.addSong(0, a);
  tempo::tempoTick(again.p);
  EXPECT_EQ(second.asked.size(), 1u);
  EXPECT_FALSE(tempo::cachedAnalysis(again.p, a));
}

TEST_F(TempoTest, TheOlderTempoFileIsTakenOverAndItsSongsGetTheRestOfTheirAnalysis) {
  const auto a = song("a.mp3");
  const auto stamp = tempo::fileStamp(a);
  std::ofstream(dir / "velvoxtempo.txt") << "126\t" << stamp->size << "\t" << stamp->mtime << "\t180\t" << a << "\n";
  load(0, a);
  EXPECT_EQ(shown(0), "126.0") << "shown at once";
  EXPECT_EQ(tempo::cachedLength(p, a), 180);
  ASSERT_EQ(analysis.asked.size(), 1u) << "overview and loudness are still missing";
  analysis.ready.push_back(fullAnalysis(0, a, 125));
  tick();
  EXPECT_EQ(shown(0), "125.0");
  EXPECT_TRUE(fs::exists(dir / "velvoxanalysis.txt"));
}

TEST_F(TempoTest, ATempoTheDjSetOutlivesTheAnalysis) {
  const auto a = song("a.mp3");
  load(0, a);
  tempo::setSongTempo(p, 0, 90);
  analysis.ready.push_back(fullAnalysis(0, a, 180));
  tick();
  EXPECT_EQ(shown(0), "90.0");
  EXPECT_TRUE(tempo::cachedAnalysis(p, a)->loudness);
}

TEST(TempoCache, AnalysesSurviveTheRoundTripAndDamagedOnesAreDropped) {
  TempoCacheEntry full{10, 20, 127.5, 301.25};
  full.analysed = full.byHand = true;
  full.firstBeat = 0.125;
  full.beatLength = 0.47;
  full.loudness = -14.25;
  full.overview.assign(platform::kOverviewColumns, {-0.25f, 1.0f});
  TempoCacheEntry silent{1, 2, 0, 5};
  silent.analysed = true;
  auto lines = tempo::cacheLines({{"/m/a\tb.mp3", full}, {"/m/quiet.wav", silent}});
  auto cut = lines[0];
  cut.erase(cut.find("\t/m/") - 40, 30);  // an overview cut short: its tempo stays
  cut.replace(cut.find("/m/a"), 4, "/m/c");
  auto badLoudness = lines[1];
  badLoudness.replace(badLoudness.find("\t-\t-\t"), 3, "\tx\t");
  lines.push_back(cut);
  lines.push_back(badLoudness + "2");
  const auto back = tempo::parseCache(lines);
  ASSERT_EQ(back.size(), 3u) << "a bad loudness drops the line";
  EXPECT_FALSE(back.at("/m/c\tb.mp3").analysed) << "analysed again";
  EXPECT_EQ(back.at("/m/c\tb.mp3").bpm, 127.5);
  const auto& a = back.at("/m/a\tb.mp3");
  EXPECT_TRUE(a.analysed && a.byHand);
  EXPECT_EQ(a.firstBeat, 0.125);
  EXPECT_EQ(a.beatLength, 0.47);
  EXPECT_EQ(a.loudness, -14.25);
  ASSERT_EQ(a.overview.size(), static_cast<size_t>(platform::kOverviewColumns));
  EXPECT_NEAR(a.overview[5].low, -0.25, 0.005);
  EXPECT_FALSE(back.at("/m/quiet.wav").loudness) << "silence has none";
}

}  // namespace
}  // namespace vx::test
