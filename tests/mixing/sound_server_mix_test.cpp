// The crossfader end to end: the whole program playing through the private PulseAudio server,
// what the sink "main" plays recorded back from its monitor. Skipped without that server.
#include <gtest/gtest.h>

#include "audio/sound_system.h"
#include "tests/audio/signal_analysis.h"
#include "tests/audio/sound_server.h"
#include "tests/audio/test_media.h"
#include "tests/mixing/mixing_program.h"

namespace vx::test {
namespace {

using namespace audio::testing;
constexpr int kRate = 44100;
constexpr double kHz[2] = {1000, 3000};

class CrossfaderOnTheSoundServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = missingSoundServer(); !why.empty()) GTEST_SKIP() << why;
    audio::SoundSystemOptions options;
    options.mainDevice = "main";
    m = std::make_unique<MixingProgram>(dir.path("home"), audio::createSoundSystem(options));
    m->run("set autoplay2.checked False");
    for (int deck = 0; deck < 2; ++deck) {
      const std::string path = dir.path("tone" + std::to_string(deck) + ".wav");
      writeWav(path, kRate, 2, sine(kHz[deck], 0.5, kRate, kRate * 30));
      m->run("drop title1(" + std::to_string(deck) + ") " + path);
      m->run("down Pause(" + std::to_string(deck) + ")");
      m->run("up Pause(" + std::to_string(deck) + ")");
    }
  }
  // Each deck's tone in what "main" played, once the sink has passed the change on.
  std::array<double, 2> heard() {
    m->wait(0.5);
    std::vector<float> main = recordSink("main", 2.5);
    EXPECT_GT(main.size(), static_cast<size_t>(kRate) * 2 * 6 / 10);
    Span left{main, 0, kRate / 10, main.size() / 2 - kRate / 20};
    return {typicalToneAmplitude(left, kHz[0], kRate), typicalToneAmplitude(left, kHz[1], kRate)};
  }
  double asked(int deck) { return 0.5 * std::pow(10.0, m->p.player(deck).volume() / 2000.0); }

  TempDir dir;
  std::unique_ptr<MixingProgram> m;
};

TEST_F(CrossfaderOnTheSoundServer, EachEndLetsOnlyItsOwnDeckIntoTheMainSink) {
  m->run("down Lvol");
  m->run("up Lvol");
  auto level = heard();
  EXPECT_NEAR(decibels(level[0] / asked(0)), 0, 0.5) << "deck A at the A end";
  EXPECT_LT(level[1], 1e-3) << "deck B is heard at the A end";

  m->run("down volR");
  m->run("up volR");
  level = heard();
  EXPECT_LT(level[0], 1e-3) << "deck A is heard at the B end";
  EXPECT_NEAR(decibels(level[1] / asked(1)), 0, 0.5) << "deck B at the B end";
}

}  // namespace
}  // namespace vx::test
