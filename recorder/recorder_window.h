#pragma once
// The recorder window `frmrecorder`: the file's name is chosen as it opens, then one recording
// is started (by its start button or a deck's start), stopped, saved; the time label counts
// while it records. The window is skinned and moves by dragging its background.
#include <string>

#include "core/program.h"

namespace vx::recorder {

// Adds the window's controls to the (empty) form.
void buildRecorderWindow(form::Form& f);

// `Imgrec`: loads the window, asks where the recording goes and shows the window.
void openRecorder(Program& p);
void cmdstop_MouseDown(Program& p);
void cmdsave_Click(Program& p);
void frmend_Click(Program& p);
void Timer1_Timer(Program& p);
// Switches between recording the input and the main output, before a recording starts.
void cmdsource_Click(Program& p);
// [recorder] source of velvoxplus.ini: "mix" records the main output, anything else the input.
void readRecorderSettings(Program& p);

// The window holds a take that closing it would throw away: one that records, or one stopped
// and not yet saved.
bool holdsTake(Program& p);

// The window's side of a recording that started: timer on, stop usable, start not.
void showRecording(Program& p);
// The message box of a failed command: `text` (code) under the title "Error".
void showMciError(Program& p, long code, const std::string& text);

// "REC 01:23. 4" while recording, "00:00. 0" after a save.
std::string timeLabel(long tenths, bool recording);

void wireRecorder(Program& p);

}  // namespace vx::recorder
