#include "decks/overview.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "audio/analysis/tempo_analyser.h"
#include "songlist/song_list.h"
#include "tempo/deck_tempo.h"
#include "tests/audio/test_media.h"
#include "tests/support/test_program.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

class FakeAnalysis : public platform::TempoAnalysis {
 public:
  std::vector<platform::TempoResult> ready;
  void analyse(int, const std::string&) override {}
  void deliver(const std::function<void(const platform::TempoResult&)>& take) override {
    auto now = std::move(ready);
    ready.clear();
    for (const auto& r : now) take(r);
  }
};

constexpr double kSeconds = 200;

class OverviewTest : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-overview-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  FakeAnalysis analysis;
  TestProgram t;
  Program& p = t.p;
  std::string path;

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    p.settingsPath = (dir / "velvoxp.ini").string();
    p.ports.tempo = &analysis;
    path = (dir / "song.mp3").string();
    std::ofstream(path) << "song";
  }
  void TearDown() override { fs::remove_all(dir); }

  void tick() {
    tempo::tempoTick(p);
    decks::overviewTick(p);
  }
  // A song whose second half is 12 dB (four times) louder than its first, as analysed.
  void loadAnalysed(int deck) {
    t.addSong(deck, path);
    t.player(deck).length = kSeconds;
    tick();
    platform::TempoResult r{deck, path, 120, kSeconds};
    for (int c = 0; c < platform::kOverviewColumns; ++c) {
      const float peak = c < platform::kOverviewColumns / 2 ? 0.2f : 0.8f;
      r.overview.push_back({-peak, peak});
    }
    r.loudness = -14;
    analysis.ready.push_back(r);
    tick();
  }
  form::Overview& overview(int deck) { return p.main.get<form::Overview>("overview", deck); }
};

TEST_F(OverviewTest, TheAnalysisFillsTheOverviewOnce) {
  EXPECT_TRUE(overview(0).columns().empty());  // an empty deck shows nothing
  songlist::SongList list(p.main, 0);
  loadAnalysed(0);
  const auto& columns = overview(0).columns();
  ASSERT_EQ(columns.size(), static_cast<size_t>(platform::kOverviewColumns));

  const long content = overview(0).content();
  const long revision = overview(0).revision();
  tick();
  EXPECT_EQ(overview(0).content(), content);
  EXPECT_EQ(overview(0).revision(), revision);
  // A move smaller than a pixel draws nothing; a pixel's move touches the position only.
  const double pixelSeconds = kSeconds * 15 / overview(0).width();
  t.player(0).position = pixelSeconds * 0.5;
  tick();
  EXPECT_EQ(overview(0).revision(), revision);
  t.player(0).position = pixelSeconds * 1.5;
  tick();
  EXPECT_NE(overview(0).revision(), revision);
  EXPECT_EQ(overview(0).content(), content);
}

// A generated file through the real analysis and its cache: a sine whose second half is
// 12 dB (four times) louder. The cache keeps a column to 1/128 of full scale.
TEST_F(OverviewTest, ARealSongsLouderSecondHalfShowsInTheColumns) {
  constexpr int kRate = 44100;
  constexpr double kSongSeconds = 20;
  auto frames = audio::testing::sine(440, 0.2, kRate, static_cast<int>(kSongSeconds * kRate));
  for (size_t i = frames.size() / 2; i < frames.size(); ++i) frames[i] *= 4;
  path = (dir / "steps.wav").string();
  audio::testing::writeWav(path, kRate, 2, frames);
  audio::SettledTempoAnalyser real;
  p.ports.tempo = &real;
  t.addSong(0, path);
  t.player(0).length = kSongSeconds;
  tick();  // asks for the analysis
  tick();  // takes it
  const auto& columns = overview(0).columns();
  ASSERT_EQ(columns.size(), static_cast<size_t>(platform::kOverviewColumns));
  const auto height = [&](size_t c) { return columns[c].high - columns[c].low; };
  for (const size_t quiet : {20, 250, 500})
    for (const size_t loud : {524, 800, 1003})
      EXPECT_NEAR(20 * std::log10(height(loud) / height(quiet)), 12, 0.5) << quiet << " " << loud;
  EXPECT_NEAR(columns[250].high, 0.2, 0.01);
  // The step lies in the middle, within one column.
  const auto step = std::find_if(columns.begin(), columns.end(), [](const auto& c) { return c.high > 0.4f; });
  EXPECT_NEAR(step - columns.begin(), platform::kOverviewColumns / 2, 1);
  p.ports.tempo = nullptr;
}

TEST_F(OverviewTest, TheEntrysMarksShowAsFractionsOfTheSong) {
  songlist::SongList list(p.main, 0);
  loadAnalysed(0);
  list.setSelectedValue(songlist::Cue, "50");
  list.setSelectedValue(songlist::End, "150");
  tick();
  EXPECT_DOUBLE_EQ(overview(0).marks().cue, 0.25);
  EXPECT_DOUBLE_EQ(overview(0).marks().end, 0.75);
}

// A 200 s song at 120 BPM holds 400 beats: marked one by one where they lie 3 pixels apart or
// more, by the bar where the bars do, else not at all.
TEST_F(OverviewTest, BeatMarksGoWhereThereIsRoomForThem) {
  t.addSong(0, path);
  t.player(0).length = kSeconds;
  tick();
  platform::TempoResult r{0, path, 120, kSeconds, 0.25, 0.5};
  r.overview.assign(platform::kOverviewColumns, {-0.5f, 0.5f});
  analysis.ready.push_back(r);
  tick();
  const auto& o = overview(0);
  const auto beats = o.beatMarks(1600);  // 4 pixels a beat
  ASSERT_EQ(beats.size(), 400u);
  EXPECT_DOUBLE_EQ(beats.front(), 0.25 / kSeconds);
  EXPECT_NEAR(beats.back(), 199.75 / kSeconds, 1e-12);
  const auto bars = o.beatMarks(800);  // 2 pixels a beat, 8 a bar
  ASSERT_EQ(bars.size(), 100u);
  EXPECT_NEAR(bars[1] - bars[0], 2 / kSeconds, 1e-12);
  EXPECT_TRUE(o.beatMarks(200).empty());  // 2 pixels a bar

  path = (dir / "beatless.mp3").string();
  std::ofstream(path) << "beatless";
  loadAnalysed(1);  // no steady beat, no grid
  EXPECT_TRUE(overview(1).beatMarks(1600).empty());
}

TEST_F(OverviewTest, AClickMovesThePlayingDeckThereWithinAColumn) {
  loadAnalysed(1);
  t.player(1).state = platform::Playing;
  const double x = overview(1).width() * 0.75;
  overview(1).events.mouseDown(mouseAt(x, 100));
  EXPECT_NEAR(t.player(1).position, 0.75 * kSeconds, kSeconds / platform::kOverviewColumns);
  EXPECT_EQ(t.player(1).state, platform::Playing);
  EXPECT_NEAR(overview(1).position(), 0.75, 15 / overview(1).width());

  // An empty deck does not move.
  t.player(0).position = 3;
  overview(0).events.mouseDown(mouseAt(x, 100));
  EXPECT_EQ(t.player(0).position, 3);
}

}  // namespace
}  // namespace vx::test
