#pragma once
// From launch to the visible main window. The window (or the headless driver) calls
// startProgram once with the splash window up, then hands over with splashTimerTick or
// splashDismiss, and calls mainFormPaint whenever the main window paints.
#include "core/program.h"

namespace vx::shell {

// Loads the main window hidden, refuses a second instance, restores the settings, checks the
// optional sound engines (a missing one only reduces the program) and lays the window out.
// False when another instance runs: the user was told, neither window stays open and the
// caller ends the program. Afterwards the start-up is done (initDone) exactly when it returned true.
bool startProgram(Program& p);

// The splash timer: once start-up is done, shows the main window and closes the splash.
void splashTimerTick(Program& p);
// A click or key on the splash: the same hand-over at once.
void splashDismiss(Program& p);
// The first paint after start-up with "起動と同時に再生" checked presses PLAY on deck A, once.
void mainFormPaint(Program& p);

}  // namespace vx::shell
