#pragma once
// A program on the fakes with helpers to put a deck into the states the controls act on.
#include <gtest/gtest.h>

#include "play/tick.h"
#include "tests/support/test_program.h"

namespace vx::test {

class DeckFixture : public ::testing::Test {
 protected:
  TestProgram t;

  // Elapsed time unless a test asks for the count-down.
  void SetUp() override { t.form().menu("countdown").setChecked(false); }

  form::MouseEvent at(double x, double y, form::MouseButton b = form::MouseButton::Left) {
    form::MouseEvent e;
    e.button = b;
    e.x = x;
    e.y = y;
    return e;
  }
  // A loaded deck whose player plays at `position`.
  void playing(int deck, double position, const std::string& path = "/music/song.mp3") {
    t.addSong(deck, path);
    t.player(deck).state = platform::Playing;
    t.player(deck).position = position;
  }
  // A playing deck frozen on its mark, as PLAY leaves it.
  void frozen(int deck, double mark) {
    playing(deck, mark + 2);
    auto& s = t.p.deck[deck];
    s.holdActive = s.stutterArmed = true;
    s.markPosition = s.jogBase = mark;
  }
  void tick(int n = 1) {
    for (int i = 0; i < n; ++i) play::Timer1_Timer(t.p);
  }
  form::Control& control(const std::string& name, int deck) { return *t.form().find(name, deck); }
};

}  // namespace vx::test
