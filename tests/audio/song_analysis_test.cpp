#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "audio/analysis/song_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::TempDir;

constexpr int kRate = 44100;

// Stereo frames: 30 ms bursts of a 1.5 kHz tone every beat.
std::vector<float> clickTrack(double bpm, double seconds, int rate = kRate, int channels = 2) {
  const auto frames = static_cast<size_t>(seconds * rate);
  std::vector<float> out(frames * static_cast<size_t>(channels), 0.0f);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate, inBeat = std::fmod(t, 60 / bpm);
    if (inBeat < 0.03)
      for (int c = 0; c < channels; ++c) out[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = static_cast<float>(0.5 * std::sin(2 * M_PI * 1500 * t));
  }
  return out;
}

// A kick every 0.500 s under a held chord (A minor), as a generated song.
std::vector<float> kickUnderChord(double seconds) {
  const auto frames = static_cast<size_t>(seconds * kRate);
  std::vector<float> out(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate, b = std::fmod(t, 0.5);
    double s = 0.12 * (std::sin(2 * M_PI * 220 * t) + std::sin(2 * M_PI * 261.63 * t) + std::sin(2 * M_PI * 329.63 * t));
    if (b < 0.15) s += 0.7 * std::exp(-b * 18) * std::sin(2 * M_PI * (45 + 80 * std::exp(-b * 30)) * b);
    out[2 * i] = out[2 * i + 1] = static_cast<float>(s);
  }
  return out;
}

SongAnalysis analyse(const std::string& path) { return analyseSongFile(path, nullptr); }

TEST(SongAnalysis, GeneratedSongsAtAWholeTempoGetExactlyItAndTheirGrid) {
  TempDir dir;
  testing::writeWav(dir.path("click.wav"), kRate, 2, clickTrack(120, 60));
  const auto click = analyse(dir.path("click.wav"));
  EXPECT_NEAR(click.tempo.bpm, 120, 0.6);
  EXPECT_LT(std::min(click.tempo.firstBeat, 0.5 - click.tempo.firstBeat), 0.015) << "the clicks start at 0";
  testing::writeWav(dir.path("kick.wav"), kRate, 2, kickUnderChord(300));
  const auto kick = analyse(dir.path("kick.wav"));
  EXPECT_NEAR(kick.tempo.bpm, 120.0, 0.05) << "not 121.1";
  // The grid stays on the kicks to the song's end: 600 beats later within 20 ms.
  const double last = kick.tempo.firstBeat + 599 * 60 / kick.tempo.bpm;
  EXPECT_NEAR(std::remainder(last, 0.5), 0, 0.02);
}

// At every rate: the meter sees fewer frames of a fast file, at the rate they then stand for.
TEST(SongAnalysis, LoudnessFollowsEbuR128) {
  TempDir dir;
  const double amplitude = std::pow(10, -23 / 20.0);  // -23 dBFS on both channels
  for (const int rate : {48000, 44100, 96000, 22050}) {
    const auto name = dir.path("sine" + std::to_string(rate) + ".wav");
    testing::writeWav(name, rate, 2, testing::sine(1000, amplitude, rate, rate * 20));
    const auto found = analyse(name);
    ASSERT_TRUE(found.loudness) << rate;
    EXPECT_NEAR(*found.loudness, -23.0, 0.1) << rate;
    EXPECT_EQ(found.tempo.bpm, 0) << "a held tone has no beat";
  }
}

TEST(SongAnalysis, TheOverviewShowsALouderSecondHalf) {
  TempDir dir;
  auto song = testing::sine(440, 0.1, kRate, kRate * 40);
  for (size_t i = song.size() / 2; i < song.size(); ++i) song[i] *= std::pow(10.0f, 12 / 20.0f);
  testing::writeWav(dir.path("steps.wav"), kRate, 2, song);
  const auto found = analyse(dir.path("steps.wav"));
  ASSERT_EQ(found.overview.size(), static_cast<size_t>(platform::kOverviewColumns));
  const auto& quiet = found.overview[platform::kOverviewColumns / 4];
  const auto& loud = found.overview[platform::kOverviewColumns * 3 / 4];
  EXPECT_NEAR(quiet.high, 0.1, 0.01);
  EXPECT_NEAR(quiet.low, -0.1, 0.01);
  EXPECT_NEAR(20 * std::log10(loud.high / quiet.high), 12, 0.2);
  // The step lies in the middle column, within one column.
  const auto step = std::find_if(found.overview.begin(), found.overview.end(), [](auto& c) { return c.high > 0.2f; });
  EXPECT_NEAR(step - found.overview.begin(), platform::kOverviewColumns / 2, 1);
  EXPECT_NEAR(found.tempo.length, 40, 0.01);
}

TEST(SongAnalysis, OddSongsGiveWhatTheyHoldAndNoWrongTempo) {
  TempDir dir;
  testing::writeWav(dir.path("silence.wav"), kRate, 2, std::vector<float>(kRate * 2 * 20, 0.0f));
  const auto silence = analyse(dir.path("silence.wav"));
  EXPECT_FALSE(silence.loudness) << "silence has no loudness";
  EXPECT_EQ(silence.tempo.bpm, 0);
  EXPECT_EQ(silence.overview.size(), static_cast<size_t>(platform::kOverviewColumns));

  testing::writeWav(dir.path("short.wav"), kRate, 2, clickTrack(120, 0.3));
  const auto shortSong = analyse(dir.path("short.wav"));
  EXPECT_EQ(shortSong.tempo.bpm, 0);
  EXPECT_EQ(shortSong.overview.size(), static_cast<size_t>(platform::kOverviewColumns));
  EXPECT_NEAR(shortSong.tempo.length, 0.3, 0.001);

  // A mono file is heard on both sides: as loud as the same sound in stereo.
  testing::writeWav(dir.path("mono.wav"), kRate, 1, clickTrack(125, 40, kRate, 1));
  testing::writeWav(dir.path("stereo.wav"), kRate, 2, clickTrack(125, 40));
  const auto mono = analyse(dir.path("mono.wav")), stereo = analyse(dir.path("stereo.wav"));
  EXPECT_NEAR(mono.tempo.bpm, 125, 0.6);
  ASSERT_TRUE(mono.loudness && stereo.loudness);
  EXPECT_NEAR(*mono.loudness, *stereo.loudness, 0.1);

  for (int rate : {8000, 96000}) {
    const auto name = dir.path("rate" + std::to_string(rate) + ".wav");
    testing::writeWav(name, rate, 2, clickTrack(128, 40, rate));
    const auto found = analyse(name);
    EXPECT_NEAR(found.tempo.bpm, 128, 0.64) << rate;
    EXPECT_NEAR(found.tempo.length, 40, 0.01) << rate;
  }

  // MIDI: overview and loudness from the synthesiser's rendering; its tempo is not looked for.
  testing::writeMidi(dir.path("song.mid"), 40);
  const auto midi = analyse(dir.path("song.mid"));
  EXPECT_EQ(midi.tempo.bpm, 0);
  EXPECT_EQ(midi.overview.size(), static_cast<size_t>(platform::kOverviewColumns));
  EXPECT_TRUE(midi.loudness);

  std::ofstream(dir.path("junk.mp3")) << "not a song";
  const auto junk = analyse(dir.path("junk.mp3"));
  EXPECT_TRUE(junk.overview.empty());
  EXPECT_FALSE(junk.loudness);
}

// Songs from Debian's free game soundtracks (installed by scripts/test.d/real-songs.sh) and
// what each must show, found by hand: tests/audio/real_songs.tsv. 0 = no steady beat.
TEST(SongAnalysis, RealSongsGetTheirTempoWithinHalfAPercentOrNone) {
  std::ifstream table(VELVOX_REAL_SONGS);
  ASSERT_TRUE(table) << VELVOX_REAL_SONGS;
  std::string line;
  int tried = 0, missing = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string path, bpmText;
    std::getline(fields, path, '\t');
    std::getline(fields, bpmText, '\t');
    if (!std::ifstream(path)) {
      ++missing;
      continue;
    }
    ++tried;
    const double hand = std::stod(bpmText);
    const auto found = analyse(path);
    if (hand == 0) {
      EXPECT_EQ(found.tempo.bpm, 0) << path << ": no steady beat, nothing to show";
      EXPECT_EQ(found.tempo.firstBeat, 0) << path << ": no grid either";
    } else {
      EXPECT_NEAR(found.tempo.bpm, hand, hand * 0.005) << path << " (half or double counts as wrong)";
    }
  }
  if (tried == 0)
    GTEST_SKIP() << "none of the " << missing
                 << " real songs is installed: the test set-up (scripts/test.d/real-songs.sh) installs Debian's game "
                    "soundtrack packages";
  EXPECT_EQ(missing, 0) << "some of the table's songs are not installed";
}

}  // namespace
}  // namespace vx::audio
