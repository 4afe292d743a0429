// The mixer heard at the output: the levels the volume law asks for arrive within 0.1 dB, and
// moving the crossfader, by hand or by the Switch fade, never steps the sound (no click).
#include <gtest/gtest.h>

#include <cmath>

#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"
#include "tests/mixing/mixing_program.h"

namespace vx::test {
namespace {

using audio::testing::decibels;
using audio::testing::Span;
constexpr int kRate = 44100;
constexpr double kAmplitude = 0.25;
constexpr double kHz[2] = {1000, 2500};

class MixLevels : public ::testing::Test {
 protected:
  audio::testing::TempDir dir;
  MixingProgram m{dir.path("home")};

  // Both decks play a steady tone of their own.
  void SetUp() override {
    m.run("set autoplay2.checked False");
    for (int deck = 0; deck < 2; ++deck) load(deck, kHz[deck], kAmplitude);
  }
  void load(int deck, double hz, double amplitude) {
    const std::string path = dir.path("tone" + std::to_string(deck) + ".wav");
    audio::testing::writeWav(path, kRate, 2, audio::testing::sine(hz, amplitude, kRate, kRate * 20));
    m.run("drop title1(" + std::to_string(deck) + ") " + path);
  }
  void play(int deck) {
    m.run("down Pause(" + std::to_string(deck) + ")");
    m.run("up Pause(" + std::to_string(deck) + ")");
  }
  void press(const std::string& ref, double x, double y) {
    m.run("down " + ref + " " + std::to_string(x) + " " + std::to_string(y));
    m.run("up " + ref);
  }
  // The tone's amplitude of each deck over a third of a second, once the new levels have ramped.
  std::array<double, 2> heard() {
    m.tick(2);
    m.out.clear();
    m.tick(10);
    Span left{m.out, 0, 0, m.out.size() / 2};
    return {audio::testing::typicalToneAmplitude(left, kHz[0], kRate),
            audio::testing::typicalToneAmplitude(left, kHz[1], kRate)};
  }
  // What the players were told, as amplitude.
  double asked(int deck) { return kAmplitude * std::pow(10.0, m.p.player(deck).volume() / 2000.0); }
  void expectAsked(const std::string& state, long volumeA, long volumeB) {
    SCOPED_TRACE(state);
    EXPECT_EQ(m.p.player(0).volume(), volumeA);
    EXPECT_EQ(m.p.player(1).volume(), volumeB);
    const auto level = heard();
    for (int deck = 0; deck < 2; ++deck) {
      if (m.p.player(deck).volume() <= -10000)
        EXPECT_LT(level[deck], kAmplitude * 1e-4) << "deck " << deck;
      else
        EXPECT_NEAR(decibels(level[deck] / asked(deck)), 0, 0.1) << "deck " << deck;
    }
  }
};

TEST_F(MixLevels, TheOutputCarriesTheLevelsTheLawAsksFor) {
  play(0);
  play(1);
  // Both trims start at a cut of 20 (level 80): the fixed cut is -400.
  expectAsked("centre, pattern A", -400, -400);
  press("Faderbase", 2460, 180);  // knob at u = 250
  expectAsked("u = 250", -2000, -400);
  press("Faderbase", 1410, 180);  // u = -100
  expectAsked("u = -100", -400, -656);
  press("Trimbase(0)", 720, 360);  // trim A turned fully right: a cut of 1
  expectAsked("trim A 1", -1, -656);
  press("Volbase(1)", 240, 877.5);  // channel fader B half way down
  expectAsked("channel B at 750", -1, -2000);
  m.run("click FDpaturn(1)");
  m.run("click center");
  expectAsked("pattern B, centre", -2402, -2000);
  press("Lvol", 270, 135);
  expectAsked("A end", -1, -10000);
}

class MixWithoutClicks : public MixLevels {
 protected:
  // A low, loud tone on deck A alone: its natural largest step between samples is 0.0071, a gain
  // that jumps instead of ramping makes steps up to its amplitude.
  void SetUp() override {
    m.run("set autoplay2.checked False");
    load(0, 100, 0.5);
    play(0);
    m.tick(5);
  }
  double largestStepOver(long ticks) {
    m.out.clear();
    m.tick(ticks);
    return audio::testing::largestStep({m.out, 0, 0, m.out.size() / 2});
  }
  // Deck A's tone at the level the player was given (its song's trim cuts it by 4 dB).
  double fullLevel() { return 0.5 * std::pow(10.0, m.p.player(0).volume() / 2000.0); }
  double levelOver(long ticks) {
    m.out.clear();
    m.tick(ticks);
    return audio::testing::toneAmplitude({m.out, 0, 0, m.out.size() / 2}, 100, kRate);
  }
};

TEST_F(MixWithoutClicks, ThrowingTheFaderToTheFarEndRampsTheDeckOut) {
  const double natural = 2 * M_PI * 100 * 0.5 / kRate;
  m.run("down volR");
  EXPECT_EQ(m.p.player(0).volume(), -10000);
  EXPECT_LT(largestStepOver(3), 1.2 * natural);
  EXPECT_LT(levelOver(3), 1e-5);
  m.run("down Lvol");
  EXPECT_LT(largestStepOver(3), 1.2 * natural);
  EXPECT_NEAR(decibels(levelOver(3) / fullLevel()), 0, 0.1);
}

TEST_F(MixWithoutClicks, TheSwitchFadeRisesSmoothlyTickByTick) {
  const double natural = 2 * M_PI * 100 * 0.5 / kRate;
  m.run("down volR");
  m.tick(3);
  m.run("down switch");  // the fader stands on the B side: the fade brings A back
  m.run("up switch");
  m.run("expect @switchPhase = 2");
  double largest = 0, before = 0;
  for (int tick = 1; tick <= 72; ++tick) {
    m.out.clear();
    m.tick();
    Span left{m.out, 0, 0, m.out.size() / 2};
    largest = std::max(largest, audio::testing::largestStep(left));
    const double level = audio::testing::toneAmplitude(left, 100, kRate);
    EXPECT_GE(level, before - 1e-3) << "tick " << tick;
    before = level;
  }
  m.run("expect @switchPhase = 0");
  EXPECT_LT(largest, 1.2 * natural);
  EXPECT_NEAR(decibels(levelOver(3) / fullLevel()), 0, 0.1);
}

}  // namespace
}  // namespace vx::test
