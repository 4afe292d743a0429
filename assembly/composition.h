#pragma once
// Pieces every composition of the program shares (the headless driver and the window): the
// ports the sound system serves and the program's folders.
#include "assembly/home_folder.h"
#include "audio/sound_system.h"
#include "core/program.h"

namespace vx::assembly {

// Ports with the players, the monitor, the master level and the sampler's device of `sound`;
// the dialogs, the shell and the recording device are left for the caller.
platform::Ports soundPorts(audio::SoundSystem& sound);

// Gives the program its home folder, its settings file and the folders its skins are looked
// up in (the home folder's, then the installed ones).
void placeProgram(Program& p, const HomePaths& paths);

// Attaches every subsystem's handlers, and the main tick to MainForm's `Timer1` when no
// subsystem has.
void wireProgram(Program& p);

}  // namespace vx::assembly
