#include "decks/jog.h"

#include <cmath>

#include "decks/monitor.h"
#include "decks/time_display.h"
#include "form/track_point.h"

namespace vx::decks {

namespace {

constexpr double kQuarterTurn = 0.133;  // seconds per quarter turn

form::Picture& wheel(Program& p, int deck) { return p.main.picture("jogbase", deck); }
form::Picture& knob(Program& p, int deck) { return p.main.picture("jogbtn", deck); }

// Quadrants clockwise on screen from the upper right: 0 upper right, 1 upper left, 2 lower left,
// 3 lower right (y grows downward). The axes belong to the quadrants as the wheel always counted.
int quadrantOf(double dx, double dy) {
  if (dy <= 0) return dx > 0 ? 0 : 1;
  return dx > 0 ? 3 : 2;
}

// Passing from the quadrant before into this one counts a quarter turn clockwise (+1), from the
// one after anticlockwise (-1).
void countQuarterTurn(DeckState& state, int quadrant) {
  if (state.jogQuadrant == (quadrant + 1) % 4)
    ++state.jogSteps;
  else if (state.jogQuadrant == (quadrant + 3) % 4)
    --state.jogSteps;
  state.jogQuadrant = quadrant;
}

// The mark for quarter turns `steps`, quadrant and the pointer's direction cosine: the base plus
// the whole quarter turns, plus the part of the current quarter given by the cosine. Positive and
// negative turns are offset by one quarter so that the knob at rest stands on a step.
double jogMark(double base, int steps, int quadrant, double cosine, double wheelWidth) {
  static constexpr int kOffsetBackward[4] = {0, 1, 0, 1};
  static constexpr int kOffsetForward[4] = {1, 2, 1, 2};
  double perRadius = 3.14 * (wheelWidth / 4) / 10000;
  int offset = steps < 0 ? kOffsetBackward[quadrant] : kOffsetForward[quadrant];
  double side = quadrant <= 1 ? 1 : -1;
  return base + kQuarterTurn * (steps + offset) + side * perRadius * cosine;
}

void placeKnob(Program& p, int deck, double ux, double uy) {
  auto& w = wheel(p, deck);
  auto& k = knob(p, deck);
  k.setLeft(w.left() + w.width() / 2 - k.width() / 2 + (w.width() / 4) * ux);
  k.setTop(w.top() + w.height() / 2 - k.height() / 2 + (w.height() / 4) * uy);
}

void seekToMark(Program& p, int deck) {
  double mark = p.deck[deck].markPosition;
  p.player(deck).setCurrentPosition(mark);
  if (p.monitor.monitorDeck == deck) monitorSeekSeconds(p, mark);
  timecounter(p, deck);
}

// A deck parked at its cue point starts its stutter on the mark.
void startStutterFromStandby(Program& p, int deck) {
  auto& state = p.deck[deck];
  auto& player = p.player(deck);
  if (!state.cueStandby || player.fileName().empty()) return;
  player.play();
  if (p.monitor.monitorDeck == deck) vbmp3play(p);
  state.stutterArmed = true;
  p.main.picture("Play", deck).setPicture("cue1.bmp");
  state.cueStandby = false;
}

void jogTo(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  auto [x, y] = form::trackPoint(wheel(p, deck), knob(p, deck), e, onKnob);
  JogUpdatePosition(p, deck, x, y);
}

}  // namespace

void JogUpdatePosition(Program& p, int deck, double x, double y) {
  auto& state = p.deck[deck];
  auto& w = wheel(p, deck);
  double dx = x - w.width() / 2;
  double dy = y - w.height() / 2;
  int quadrant = quadrantOf(dx, dy);
  countQuarterTurn(state, quadrant);
  double distance = std::sqrt(dx * dx + dy * dy);
  if (distance > 0) {
    placeKnob(p, deck, dx / distance, dy / distance);
    double mark = jogMark(state.jogBase, state.jogSteps, quadrant, dx / distance, w.width());
    state.markPosition = mark < 0 ? 0 : mark;
  }
  seekToMark(p, deck);
  startStutterFromStandby(p, deck);
}

void jogMouseDown(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  auto& state = p.deck[deck];
  state.deckIdle = false;
  if (!state.stutterArmed) state.jogBase = p.player(deck).currentPosition();
  if (e.button != form::MouseButton::Left) return;
  jogTo(p, deck, e, onKnob);
  state.jogDragging = true;
}

void jogMouseMove(Program& p, int deck, const form::MouseEvent& e, bool onKnob) {
  if (e.button != form::MouseButton::Left || !p.deck[deck].jogDragging) return;
  jogTo(p, deck, e, onKnob);
}

void jogMouseUp(Program& p, int deck) {
  auto& state = p.deck[deck];
  state.jogDragging = false;
  state.jogBase = state.markPosition;
  state.jogSteps = 0;
  placeKnob(p, deck, 0, -1);
}

}  // namespace vx::decks
