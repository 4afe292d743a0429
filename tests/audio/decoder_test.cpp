// Decoding: every format lands on the exact frame after a seek, and bad files are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

#include "audio/decode/decoder.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::TempDir;

std::vector<float> readAll(Decoder& d) {
  std::vector<float> all;
  std::vector<float> block(4096 * 2);
  for (int n; (n = d.read(block.data(), 4096)) > 0;) all.insert(all.end(), block.begin(), block.begin() + 2 * n);
  return all;
}

// A staircase on the left channel (each step 1000 frames long, a distinct level) and a tone on
// the right, so that both a shift in time and a swap of channels show.
std::vector<float> staircaseWithTone(int frames) {
  std::vector<float> v(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    v[2 * i] = -0.8f + 0.05f * static_cast<float>((i / 1000) % 32);
    v[2 * i + 1] = static_cast<float>(0.4 * std::sin(2 * M_PI * 997 * i / 44100.0));
  }
  return v;
}

class Formats : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() {
    dir = new TempDir;
    testing::writeWav(dir->path("source.wav"), 44100, 2, staircaseWithTone(44100 * 3));
  }
  static void TearDownTestSuite() { delete dir; }
  static TempDir* dir;
};
TempDir* Formats::dir = nullptr;

TEST_P(Formats, SeekLandsOnTheFrameAStraightDecodeReaches) {
  std::string name = std::string("song") + GetParam();
  // Noise substitution makes an AAC decoder draw random numbers from frame to frame, which no
  // seek can repeat; the test file is made without it.
  std::string args = name == "song.mpg" ? "-vn -c:a mp2 -f mpeg" : name == "song.m4a" ? "-aac_pns 0" : "";
  std::string path = dir->path(name);
  if (name == "song.wav")
    path = dir->path("source.wav");
  else
    ASSERT_TRUE(testing::convert(dir->path("source.wav"), path, args)) << "ffmpeg could not make " << name;

  OpenResult straight = openDecoder(path);
  ASSERT_TRUE(straight.decoder) << straight.error;
  std::vector<float> reference = readAll(*straight.decoder);
  int64_t frames = static_cast<int64_t>(reference.size() / 2);
  ASSERT_GT(frames, 44100 * 2);
  EXPECT_NEAR(straight.decoder->format().durationSeconds, 3.0, 0.1);

  OpenResult opened = openDecoder(path);
  Decoder& d = *opened.decoder;
  std::mt19937 random(7);
  std::vector<int64_t> targets = {frames / 2, 0, 1, 1151, 1152, 44099, frames - 3000};
  for (int i = 0; i < 6; ++i) targets.push_back(std::uniform_int_distribution<int64_t>(0, frames - 3000)(random));
  std::vector<float> got(2048 * 2);
  for (int64_t target : targets) {
    ASSERT_TRUE(d.seek(target)) << target;
    ASSERT_EQ(d.read(got.data(), 2048), 2048) << target;
    for (int i = 0; i < 4096; ++i)
      ASSERT_EQ(got[i], reference[static_cast<size_t>(target) * 2 + i]) << name << " seek to " << target << " sample " << i;
  }
}

TEST_P(Formats, DamageInsideTheFileNeverCrashesReadingOrSeeking) {
  std::string name = std::string("song") + GetParam();
  std::string source = name == "song.wav" ? dir->path("source.wav") : dir->path(name);
  if (name != "song.wav") {
    ASSERT_TRUE(testing::convert(dir->path("source.wav"), source, name == "song.mpg" ? "-vn -c:a mp2 -f mpeg" : ""));
  }
  std::ifstream in(source, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::mt19937 random(static_cast<unsigned>(bytes.size()));
  for (int round = 0; round < 4; ++round) {
    std::string damaged = bytes;
    // Leave the first kilobyte (the header) alone, and scribble over the rest.
    for (int i = 0; i < 60; ++i)
      damaged[std::uniform_int_distribution<size_t>(1024, damaged.size() - 1)(random)] = static_cast<char>(random());
    std::string path = dir->path("damaged" + std::to_string(round) + GetParam());
    testing::writeBytes(path, damaged);
    OpenResult r = openDecoder(path);
    if (!r.decoder) continue;  // refusing the file is as good as playing it
    // A damaged stretch may be left out, but nothing is made up beyond the file's length.
    EXPECT_LE(readAll(*r.decoder).size() / 2, static_cast<size_t>(44100 * 3 + 44100));
    for (int64_t target : {int64_t{0}, int64_t{44100}, int64_t{99999}, r.decoder->format().lengthFrames + 5}) {
      r.decoder->seek(target);
      std::vector<float> block(4096);
      r.decoder->read(block.data(), 2048);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Decoding, Formats,
                         ::testing::Values(".wav", ".flac", ".mp3", ".ogg", ".m4a", ".wma", ".mpg"),
                         [](const auto& info) { return std::string(info.param).substr(1); });

TEST(BadFiles, AreRefusedWithAReason) {
  TempDir dir;
  std::string good = dir.path("good.wav");
  testing::writeWav(good, 44100, 2, testing::sine(440, 0.5, 44100, 44100));
  std::ifstream in(good, std::ios::binary);
  std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty.mp3", ""},
      {"words.mp3", "this is not music at all, just a few words of text\n"},
      {"picture.mp3", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + std::string(300, '\x11')},
      {"header-only.wav", wav.substr(0, 44)},
      {"bad-format.wav", wav.substr(0, 20) + std::string(24, '\xff') + wav.substr(44, 4000)},
      {"noise.wma", std::string(5000, '\x5a')},
      {"damaged.mid", "MThd\0\0\0\x06\0\0\0\x01"},
  };
  for (const Case& c : cases) {
    testing::writeBytes(dir.path(c.name), c.bytes);
    OpenResult r = openDecoder(dir.path(c.name));
    EXPECT_FALSE(r.decoder) << c.name;
    EXPECT_NE(r.error.find(c.name), std::string::npos) << c.name << ": " << r.error;
  }
  EXPECT_FALSE(openDecoder(dir.path("missing.mp3")).decoder);
  EXPECT_FALSE(openDecoder(dir.path("")).decoder);  // the folder itself
  EXPECT_FALSE(openDecoder("").decoder);
}

TEST(BadFiles, ACutOffSongPlaysUpToTheCut) {
  TempDir dir;
  std::string good = dir.path("good.wav");
  testing::writeWav(good, 44100, 2, testing::sine(440, 0.5, 44100, 44100));
  std::ifstream in(good, std::ios::binary);
  std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  testing::writeBytes(dir.path("cut.wav"), wav.substr(0, 44 + 4 * 10000));
  OpenResult r = openDecoder(dir.path("cut.wav"));
  ASSERT_TRUE(r.decoder) << r.error;
  EXPECT_EQ(readAll(*r.decoder).size(), 20000u);
}

TEST(Mono, SoundsAtFullLevelOnBothSides) {
  TempDir dir;
  std::vector<float> mono(1000, 0.5f);
  testing::writeWav(dir.path("mono.wav"), 22050, 1, mono);
  OpenResult r = openDecoder(dir.path("mono.wav"));
  ASSERT_TRUE(r.decoder);
  EXPECT_EQ(r.decoder->format().sampleRate, 22050);
  EXPECT_EQ(r.decoder->format().channels, 1);
  std::vector<float> all = readAll(*r.decoder);
  ASSERT_EQ(all.size(), 2000u);
  EXPECT_NEAR(all[0], 0.5f, 1e-4);
  EXPECT_EQ(all[0], all[1]);
}

}  // namespace
}  // namespace vx::audio
