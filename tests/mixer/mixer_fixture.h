#pragma once
// A program on the fakes with its mixer controls where the main window puts them at start-up:
// fader in the centre, channel faders up, trim pointers drawn for a given cut.
#include <gtest/gtest.h>

#include <cmath>

#include "mixer/volume_law.h"
#include "tests/support/test_program.h"

namespace vx::test {

class MixerFixture : public ::testing::Test {
 protected:
  TestProgram t;

  void SetUp() override {
    for (int deck = 0; deck < 2; ++deck) setCut(deck, 0);
    fader(mixer::kFaderCentre);
  }

  // Points deck d's trim pointer at cut t (200 twips long, from the knob's centre).
  void setCut(int deck, double cut) {
    const double cx = deck == 0 ? 4670 : 5950;
    const double angle = 3.14159265358979 * (1 - cut / 40);
    auto& line = t.form().get<form::Line>("TrimLine", deck);
    line.set(cx, 1440, cx + 200 * std::cos(angle), 1440 - 200 * std::sin(angle));
    // The law reads only the free end's x: make it exact.
    line.x2 = cx + 200 - 10 * cut;
  }
  void fader(double left) { t.form().picture("Faderbtn").setLeft(left); }
  void faderAt(double u) { fader(mixer::kFaderCentre + 3 * u); }
  void channel(int deck, double travel) { t.form().picture("Volbtn", deck).setTop(1830 + travel); }
  long volume(int deck) { return t.player(deck).vol; }
  double left() { return t.form().picture("Faderbtn").left(); }
  form::MouseEvent at(double x, double y, form::MouseButton b = form::MouseButton::Left) { return mouseAt(x, y, b); }
  void press(const std::string& name, int index, double x, double y) { t.form().picture(name, index).events.mouseDown(at(x, y)); }
  void drag(const std::string& name, int index, double x, double y) { t.form().picture(name, index).events.mouseMove(at(x, y)); }
  void release(const std::string& name, int index) { t.form().picture(name, index).events.mouseUp(at(0, 0)); }
};

}  // namespace vx::test
