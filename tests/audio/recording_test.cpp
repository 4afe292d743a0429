// The recording device: the command strings and their failures, the files it writes from the
// virtual capture tone and from the main output, and recordings cut short by a full disk or a
// lost input.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <chrono>
#include <filesystem>
#include <thread>

#include "audio/engine/master_tap.h"
#include "audio/engine/mixer.h"
#include "audio/record/capture_tone.h"
#include "audio/record/wave_recorder.h"
#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"

namespace vx::audio {
namespace {

using testing::Span;
using testing::TempDir;
constexpr int kEngineRate = 44100;

struct WavFile {
  int rate = 0, channels = 0, subtype = 0;
  std::vector<float> stereo;  // read back, mono repeated on both sides
  long long frames = 0;
};

WavFile readWav(const std::string& path) {
  WavFile w;
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return w;
  w.rate = info.samplerate;
  w.channels = info.channels;
  w.subtype = info.format & SF_FORMAT_SUBMASK;
  w.frames = info.frames;
  std::vector<float> raw(static_cast<size_t>(info.frames * info.channels));
  sf_readf_float(f, raw.data(), info.frames);
  sf_close(f);
  for (long long i = 0; i < info.frames; ++i) {
    float l = raw[static_cast<size_t>(i * info.channels)];
    float r = info.channels > 1 ? raw[static_cast<size_t>(i * info.channels + 1)] : l;
    w.stereo.push_back(l);
    w.stereo.push_back(r);
  }
  return w;
}

long send(platform::RecordingDevice& d, const std::string& command) {
  std::string result;
  return d.sendCommand(command, result);
}

class ToneRecording : public ::testing::Test {
 protected:
  TempDir dir;
  CaptureTone tone{kEngineRate};
  WaveRecorder device{tone, nullptr, dir.path("")};

  // Records `seconds` of the tone with the set commands given, saves it and reads it back.
  WavFile record(const std::vector<std::string>& sets, double seconds, const std::string& name = "take.wav") {
    EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
    for (const std::string& s : sets) EXPECT_EQ(send(device, s), 0) << s;
    EXPECT_EQ(send(device, "record file"), 0);
    for (int i = 0; i < static_cast<int>(seconds * 1000 / 30); ++i) tone.advance(1323);
    EXPECT_EQ(send(device, "stop file"), 0);
    EXPECT_EQ(send(device, "save file \"" + dir.path(name) + "\""), 0);
    EXPECT_EQ(send(device, "close file"), 0);
    return readWav(dir.path(name));
  }
};

TEST_F(ToneRecording, HoldsTheToneAtTheChosenRateSizeAndChannels) {
  struct Case {
    std::vector<std::string> sets;
    int rate, channels, subtype;
  } cases[] = {
      {{"set file bitspersample 16", "set file samplespersec 44100", "set file channels 2"}, 44100, 2, SF_FORMAT_PCM_16},
      {{"set file bitspersample 16", "set file samplespersec 22050"}, 22050, 1, SF_FORMAT_PCM_16},
      {{}, 11025, 1, SF_FORMAT_PCM_U8},
  };
  for (const Case& c : cases) {
    WavFile w = record(c.sets, 3.0);
    EXPECT_EQ(w.rate, c.rate);
    EXPECT_EQ(w.channels, c.channels);
    EXPECT_EQ(w.subtype, c.subtype);
    EXPECT_EQ(w.frames, 3 * c.rate);
    Span left{w.stereo, 0, 0, static_cast<size_t>(w.frames)};
    EXPECT_NEAR(testing::frequency(left, c.rate), 1000, 1);
    // -20 dBFS, within the 8-bit file's coarser steps
    EXPECT_NEAR(testing::decibels(testing::toneAmplitude(left, 1000, c.rate)), -20, 0.3);
  }
}

TEST_F(ToneRecording, ANameWithBlanksAndJapaneseNeedsTheQuotes) {
  WavFile w = record({"set file bitspersample 16"}, 0.3, "夜の セット.wav");
  EXPECT_EQ(w.rate, 11025);
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "record file"), 0);
  EXPECT_EQ(send(device, "save file " + dir.path("two words.wav")), WaveRecorder::kBadParameter);
  EXPECT_FALSE(std::filesystem::exists(dir.path("two words.wav")));
}

TEST_F(ToneRecording, CommandsOutOfTurnOrOutOfRangeFailWithACodeAndAText) {
  EXPECT_EQ(send(device, "record file"), WaveRecorder::kNotOpen);
  EXPECT_EQ(send(device, "stop file"), WaveRecorder::kNotOpen);
  EXPECT_EQ(send(device, "close file"), WaveRecorder::kNotOpen);
  EXPECT_FALSE(device.errorText(WaveRecorder::kNotOpen).empty());
  EXPECT_EQ(send(device, "play file"), WaveRecorder::kUnknownCommand);
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), WaveRecorder::kAliasInUse);
  EXPECT_EQ(send(device, "set file bitspersample 12"), WaveRecorder::kOutOfRange);
  EXPECT_EQ(send(device, "set file channels 6"), WaveRecorder::kOutOfRange);
  EXPECT_EQ(send(device, "set file samplespersec many"), WaveRecorder::kBadParameter);
  EXPECT_EQ(send(device, "set other channels 2"), WaveRecorder::kNotOpen);
  // without a master tap only the input can be chosen
  EXPECT_EQ(send(device, "set file source master"), WaveRecorder::kOutOfRange);
  // a folder that cannot be written: the reason names the path, the recording stays
  EXPECT_EQ(send(device, "record file"), 0);
  tone.advance(4410);
  std::string bad = dir.path("missing/take.wav");
  EXPECT_EQ(send(device, "save file \"" + bad + "\""), WaveRecorder::kNotSaved);
  EXPECT_NE(device.errorText(WaveRecorder::kNotSaved).find(bad), std::string::npos);
  EXPECT_EQ(send(device, "save file \"" + dir.path("ok.wav") + "\""), 0);
  EXPECT_GT(readWav(dir.path("ok.wav")).frames, 0);
}

TEST_F(ToneRecording, ClosingWithoutSavingLeavesNoFileBehind) {
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "record file"), 0);
  tone.advance(44100);
  EXPECT_EQ(send(device, "close file"), 0);
  size_t left = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path(""))) ++left;
  EXPECT_EQ(left, 0u);
}

// A disk that fills up: the file size limit makes writes fail as a full disk does.
TEST_F(ToneRecording, AFullDiskStopsTheRecordingAndKeepsAValidFile) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "set file bitspersample 16"), 0);
  EXPECT_EQ(send(device, "record file"), 0);
  std::string why;
  for (int i = 0; i < 200 && why.empty(); ++i) {
    tone.advance(1323);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    why = device.takeInterruption();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_NE(why, "");
  EXPECT_FALSE(device.recording());
  EXPECT_EQ(device.takeInterruption(), "");
  EXPECT_EQ(send(device, "save file \"" + dir.path("full.wav") + "\""), 0);
  WavFile w = readWav(dir.path("full.wav"));
  EXPECT_EQ(w.rate, 11025);
  EXPECT_GT(w.frames, 40000);
  EXPECT_LE(w.frames * 2 + 44, 100000);
  EXPECT_EQ(static_cast<long long>(std::filesystem::file_size(dir.path("full.wav"))), 44 + w.frames * 2);
}

// An input that goes away while recording.
class VanishingInput : public CaptureSource {
 public:
  bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string&) override {
    ring_ = &ring;
    delivered = wanted;
    std::vector<float> some(static_cast<size_t>(wanted.rate * wanted.channels) / 2, 0.25f);
    ring.write(some.data(), some.size());
    return true;
  }
  void stop() override {}
  bool healthy() const override { return alive; }
  bool alive = true;
  CaptureRing* ring_ = nullptr;
};

TEST(Recording, AnInputThatGoesAwayKeepsWhatWasRecorded) {
  TempDir dir;
  VanishingInput input;
  WaveRecorder device(input, nullptr, dir.path(""));
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "record file"), 0);
  EXPECT_EQ(device.takeInterruption(), "");
  input.alive = false;
  EXPECT_NE(device.takeInterruption(), "");
  EXPECT_EQ(send(device, "save file \"" + dir.path("kept.wav") + "\""), 0);
  EXPECT_EQ(readWav(dir.path("kept.wav")).frames, 11025 / 2);
}

TEST(Recording, NoInputAtAllFailsToRecordAndTheDeviceGoesOn) {
  struct NoInput : CaptureSource {
    bool start(const CaptureFormat&, CaptureRing&, CaptureFormat&, std::string& error) override {
      error = "no recording input was found";
      return false;
    }
    void stop() override {}
    bool healthy() const override { return true; }
  } none;
  TempDir dir;
  WaveRecorder device(none, nullptr, dir.path(""));
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  EXPECT_EQ(send(device, "record file"), WaveRecorder::kNoInput);
  EXPECT_NE(device.errorText(WaveRecorder::kNoInput).find("no recording input"), std::string::npos);
  EXPECT_EQ(send(device, "stop file"), 0);
  EXPECT_EQ(send(device, "close file"), 0);
}

// The main output recorded inside the engine is what the engine rendered, sample for sample.
TEST(Recording, TheMasterRecordingIsTheMainOutputItself) {
  TempDir dir;
  SoundSystemOptions options;
  options.virtualDevice = true;
  options.recordingSpool = dir.path("");
  auto sound = createSoundSystem(options);
  std::string song = dir.path("song.wav");
  testing::writeWav(song, kEngineRate, 2, testing::sine(440, 0.5, kEngineRate, kEngineRate * 2));
  platform::RecordingDevice& device = *sound->recordingDevice();
  auto& deck = sound->player(0);
  deck.setFileName(song);
  deck.setVolume(-300);
  std::vector<float> heard;
  sound->captureVirtual(&heard, nullptr);
  EXPECT_EQ(send(device, "open new type waveaudio alias file"), 0);
  for (const char* c : {"set file bitspersample 16", "set file samplespersec 44100", "set file channels 2", "set file source master"})
    EXPECT_EQ(send(device, c), 0);
  EXPECT_EQ(send(device, "record file"), 0);
  deck.play();
  for (int i = 0; i < 40; ++i) sound->renderVirtual(1323);
  EXPECT_EQ(send(device, "stop file"), 0);
  EXPECT_EQ(send(device, "save file \"" + dir.path("mix.wav") + "\""), 0);
  WavFile w = readWav(dir.path("mix.wav"));
  ASSERT_EQ(w.stereo.size(), heard.size());
  double worst = 0;
  for (size_t i = 0; i < heard.size(); ++i) worst = std::max(worst, std::abs(static_cast<double>(w.stereo[i] - heard[i])));
  EXPECT_LE(worst, 1.0 / 32768);
  EXPECT_GT(testing::rms(Span{w.stereo, 0, 0, w.stereo.size() / 2}), 0.1);
}

// The main output's tap on the virtual device waits for a writer that falls behind instead of
// leaving holes; on a real device it drops and counts, and the recorder tells how much was lost.
TEST(Recording, TheTapWaitsForTheWriterOnTheVirtualDeviceAndCountsLossOnARealOne) {
  for (const bool virtualDevice : {true, false}) {
    Mixer mixer(1, kEngineRate);
    MasterTap tap(mixer, virtualDevice);
    CaptureRing ring(4096);
    CaptureFormat delivered;
    std::string error;
    ASSERT_TRUE(tap.start({kEngineRate, 2}, ring, delivered, error));
    std::atomic<bool> done{false};
    size_t read = 0;
    std::thread writer([&] {  // a slow disk: a little at a time
      std::vector<float> chunk(512);
      while (!done.load() || ring.available() > 0) {
        read += ring.read(chunk.data(), chunk.size());
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
    std::vector<float> block(2 * 1323, 0.25f);
    for (int i = 0; i < 20; ++i) tap.deliver(block.data(), 1323);
    done = true;
    writer.join();
    tap.stop();
    if (virtualDevice) {
      EXPECT_EQ(read, 20u * block.size());
      EXPECT_EQ(ring.lost(), 0u);
    } else {
      EXPECT_GT(ring.lost(), 0u);
      EXPECT_EQ(read + ring.lost(), 20u * block.size());
    }
  }
}

// A source that delivers more than the ring holds before the writer starts (a disk stalled past
// the buffer): the recording keeps what fitted and the loss is told once, in seconds.
TEST(Recording, LostSoundIsToldOnceAfterTheStop) {
  struct Flood : CaptureSource {
    bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string&) override {
      delivered = wanted;
      std::vector<float> second(static_cast<size_t>(wanted.rate * wanted.channels), 0.1f);
      for (size_t written = 0; written < ring.capacity() + 2 * second.size(); written += second.size())
        ring.write(second.data(), second.size());
      return true;
    }
    void stop() override {}
    bool healthy() const override { return true; }
  } flood;
  TempDir dir;
  WaveRecorder device(flood, nullptr, dir.path(""));
  for (const char* c : {"open new type waveaudio alias file", "set file samplespersec 48000", "set file channels 2",
                        "record file", "stop file"})
    ASSERT_EQ(send(device, c), 0) << c;
  const double lost = device.takeLostSeconds();
  EXPECT_GT(lost, 1.0);
  EXPECT_LE(lost, 2.0);
  EXPECT_EQ(device.takeLostSeconds(), 0);
}

}  // namespace
}  // namespace vx::audio
