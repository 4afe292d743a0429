// Recording through a real sound server: the server's sine source recorded through the SDL
// capture path, and the main output recorded inside the engine while it plays into the sink
// "main", compared sample for sample with the deck's own rendering. Needs the PulseAudio server
// that scripts/test.d/pulseaudio.sh starts (its default source is a 1 kHz sine); skipped when
// none is reachable.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/sound_server.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
constexpr int kRate = 44100;

std::string missingServer() {
  if (std::string why = testing::missingSoundServer(); !why.empty()) return why;
  if (std::system("pactl list short sources 2>/dev/null | grep -q '\tsine\t'") != 0)
    return "the PulseAudio server has no source named \"sine\"";
  return "";
}

std::vector<float> readStereo(const std::string& path, int& rate) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return {};
  rate = info.samplerate;
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(f, samples.data(), info.frames);
  sf_close(f);
  return info.channels == 2 ? samples : std::vector<float>{};
}

long send(platform::RecordingDevice& d, const std::string& command) {
  std::string result;
  return d.sendCommand(command, result);
}

class RecordingServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = missingServer(); !why.empty()) GTEST_SKIP() << why;
    // The sine source is the input the capture opens.
    setenv("PULSE_SOURCE", "sine", 1);
    SoundSystemOptions options;
    options.mainDevice = "main";
    options.recordingSpool = dir.path("");
    sound = createSoundSystem(options);
    ASSERT_FALSE(sound->usingVirtualDevice());
    device = sound->recordingDevice();
    ASSERT_NE(device, nullptr);
  }
  void wait(double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
      sound->deliverEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  }
  // Records for `seconds` with the default format, from the master when asked.
  std::vector<float> record(double seconds, bool master, const std::function<void()>& started = {}) {
    EXPECT_EQ(send(*device, "open new type waveaudio alias file"), 0);
    for (const char* c : {"set file bitspersample 16", "set file samplespersec 44100", "set file channels 2"})
      EXPECT_EQ(send(*device, c), 0);
    if (master) {
      EXPECT_EQ(send(*device, "set file source master"), 0);
    }
    EXPECT_EQ(send(*device, "record file"), 0);
    if (started) started();
    wait(seconds);
    EXPECT_EQ(device->takeInterruption(), "");
    EXPECT_EQ(send(*device, "stop file"), 0);
    std::string path = dir.path("take.wav");
    EXPECT_EQ(send(*device, "save file \"" + path + "\""), 0);
    EXPECT_EQ(send(*device, "close file"), 0);
    int rate = 0;
    std::vector<float> samples = readStereo(path, rate);
    EXPECT_EQ(rate, kRate);
    return samples;
  }
  testing::TempDir dir;
  std::unique_ptr<SoundSystem> sound;
  platform::RecordingDevice* device = nullptr;
};

// The server's sine source hands out its sound in blocks of about two seconds, so the recording
// runs long enough to hold at least one whole block.
TEST_F(RecordingServer, TheInputIsRecordedThroughTheRealCapturePath) {
  std::vector<float> heard = record(4.5, false);
  size_t frames = heard.size() / 2;
  EXPECT_GE(frames, static_cast<size_t>(kRate) * 2);
  EXPECT_LT(frames, static_cast<size_t>(kRate) * 7);
  Span left{heard, 0, frames / 4, frames};
  Span right{heard, 1, frames / 4, frames};
  EXPECT_NEAR(testing::typicalFrequency(left, kRate), 1000, 2);
  EXPECT_NEAR(testing::typicalFrequency(right, kRate), 1000, 2);
  EXPECT_GT(testing::typicalToneAmplitude(left, 1000, kRate), 0.01);
}

size_t firstSound(const std::vector<float>& s) {
  for (size_t i = 0; i < s.size(); ++i)
    if (std::abs(s[i]) > 1e-4f) return i / 2;
  return s.size() / 2;
}

TEST_F(RecordingServer, TheMasterRecordingIsTheDecksOwnRenderingSampleForSample) {
  std::string song = dir.path("song.wav");
  testing::writeWav(song, kRate, 2, testing::sine(441, 0.5, kRate, kRate * 4));

  auto& deck = sound->player(0);
  deck.setFileName(song);
  // The server may take a second or more before it first asks for sound: record long enough.
  std::vector<float> heard = record(3.0, true, [&deck] { deck.play(); });

  // The deck's own rendering, on the virtual device.
  std::vector<float> own;
  {
    SoundSystemOptions options;
    options.virtualDevice = true;
    auto reference = createSoundSystem(options);
    reference->captureVirtual(&own, nullptr);
    reference->player(0).setFileName(song);
    reference->player(0).play();
    for (int i = 0; i < 110; ++i) reference->renderVirtual(1323);
  }

  size_t a = firstSound(heard), b = firstSound(own);
  ASSERT_LT(a, heard.size() / 2);
  size_t n = std::min(heard.size() / 2 - a, own.size() / 2 - b);
  ASSERT_GT(n, static_cast<size_t>(kRate) / 2);
  double worst = 0;
  for (size_t i = 0; i < n * 2; ++i)
    worst = std::max(worst, std::abs(static_cast<double>(heard[2 * a + i]) - own[2 * b + i]));
  // 16-bit samples: half a step of rounding at most.
  EXPECT_LE(worst, 1.0 / 32768);
}

}  // namespace
}  // namespace vx::audio
