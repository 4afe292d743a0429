#pragma once
#include <string>

#include "core/program.h"

namespace vx::sampler {

// Releases every slot buffer and the sound device (shutdown without saving).
void releaseSampler(Program& p);

// Makes slot's sound from the WAV file with the control set of its kind. False when the file
// cannot be opened.
bool loadSlotFile(Program& p, int slot, const std::string& path);

// The slot's play operation (its button, its key). Nothing for a slot without a sound.
void cmdPlay_Click(Program& p, int slot);

// True when the slot's silencer option mutes the players while its key is held.
bool slotSilencer(const Program& p, int slot);

// True when the slot holds a loaded sound.
bool slotLoaded(const Program& p, int slot);

// Opens the slot's settings dialog (only for a slot with a sound).
void openSlotSettings(Program& p, int slot);

// Builds the sampler's windows and attaches the handlers of its slots, menus and dialogs.
void wireSampler(Program& p);

}  // namespace vx::sampler
