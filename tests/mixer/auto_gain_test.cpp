#include "mixer/auto_gain.h"

#include <filesystem>
#include <fstream>

#include "mixer/channel_strip.h"
#include "play/loading.h"
#include "songlist/song_list.h"
#include "tempo/deck_tempo.h"
#include "tests/mixer/mixer_fixture.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;

// Analyses finish when the test says so, with the loudness it gives.
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

class AutoGainTest : public MixerFixture {
 protected:
  fs::path dir = fs::temp_directory_path() /
                 ("velvox-autogain-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  FakeAnalysis analysis;
  Program& p = t.p;

  void SetUp() override {
    MixerFixture::SetUp();
    fs::remove_all(dir);
    fs::create_directories(dir);
    p.settingsPath = (dir / "velvoxp.ini").string();
    p.ports.tempo = &analysis;
    faderAt(-500);  // deck A at full level: its volume is the trim's cut alone
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string song(const std::string& name) {
    const auto path = (dir / name).string();
    std::ofstream(path) << name;
    return path;
  }
  void tick() {
    tempo::tempoTick(p);
    mixer::autoGainTick(p);
  }
  void load(const std::string& path, const char* trim = nullptr) {
    t.addSong(0, path);
    if (trim) songlist::SongList(p.main, 0).setSelectedValue(songlist::Trim, trim);
    mixer::trimlinedraw(p, 0);
    mixer::volcontrol(p);
    tick();
  }
  void measured(const std::string& path, std::optional<double> loudness) {
    platform::TempoResult r{0, path, 120, 60};
    r.loudness = loudness;
    analysis.ready.push_back(r);
    tick();
  }
  std::string storedTrim() { return songlist::SongList(p.main, 0).selectedValue(songlist::Trim); }
  void autoGain(bool on) { p.main.menu("autogain").setChecked(on); }
};

TEST_F(AutoGainTest, ALoudSongArrivesAtTheTargetOnlyWithTheOptionOn) {
  autoGain(true);
  const auto loud = song("loud.mp3");
  load(loud);
  measured(loud, -8);
  // The song's loudness plus the deck's gain (hundredths of a dB) is the target.
  EXPECT_NEAR(-8 + volume(0) / 100.0, mixer::kAutoGainTarget, 0.5);
  EXPECT_EQ(storedTrim(), std::to_string(mixer::autoGainTrim(-8)));

  autoGain(false);
  const auto other = song("other.mp3");
  load(other);
  const std::string initial = storedTrim();
  const long before = volume(0);
  measured(other, -8);
  EXPECT_EQ(storedTrim(), initial);
  EXPECT_EQ(volume(0), before);
}

TEST_F(AutoGainTest, ACachedAnalysisSetsTheTrimAtTheLoadItself) {
  autoGain(true);
  const auto loud = song("loud.mp3");
  load(loud);
  measured(loud, -8);
  const long expected = volume(0);
  // The same song added again to the list, loaded by a double click: the cache answers.
  load(song("x.mp3"));
  songlist::SongList list(p.main, 0);
  list.append(songlist::newSongEntry(p, loud));
  list.select(list.count() - 1);
  ASSERT_TRUE(play::title1_DblClick(p, 0));
  EXPECT_EQ(volume(0), expected);
}

TEST_F(AutoGainTest, ATrimTheDjSetAndASilentSongAreLeftAlone) {
  autoGain(true);
  const auto set = song("set.mp3");
  load(set, "1000");
  const long before = volume(0);
  measured(set, -8);
  EXPECT_EQ(storedTrim(), "1000");
  EXPECT_EQ(volume(0), before);

  const auto silent = song("silent.mp3");
  load(silent);
  const std::string initial = storedTrim();
  measured(silent, std::nullopt);
  EXPECT_EQ(storedTrim(), initial);

  // The DJ turns the trim while the analysis runs: the analysis finds it set.
  const auto turned = song("turned.mp3");
  load(turned);
  songlist::SongList(p.main, 0).setSelectedValue(songlist::Trim, "1500");
  measured(turned, -8);
  EXPECT_EQ(storedTrim(), "1500");
}

TEST_F(AutoGainTest, TheTrimStaysWithinTheKnobsRange) {
  EXPECT_EQ(mixer::autoGainTrim(-20), 0);     // too quiet: no cut
  EXPECT_EQ(mixer::autoGainTrim(-14), 0);
  EXPECT_EQ(mixer::autoGainTrim(-13), 1000);  // 1 dB
  EXPECT_EQ(mixer::autoGainTrim(2), 4000);    // 16 dB is the full cut
  EXPECT_EQ(mixer::autoGainTrim(10), 4000);
}

TEST_F(AutoGainTest, TheOptionIsKeptInThePlusSettings) {
  mixer::readAutoGainSetting(p);
  EXPECT_FALSE(p.main.menu("autogain").checked());
  p.main.menu("autogain").events.click();
  EXPECT_TRUE(p.plus.flag("analysis", "autogain", false));
  p.main.menu("autogain").setChecked(false);
  mixer::readAutoGainSetting(p);
  EXPECT_TRUE(p.main.menu("autogain").checked());
}

}  // namespace
}  // namespace vx::test
