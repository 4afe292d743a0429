#pragma once
// The auto gain (menu `autogain`, velvoxplus.ini [analysis] autogain): a song whose stored trim
// is still the initial one gets the trim that brings its measured loudness to kAutoGainTarget.
// A trim the DJ set is never changed; the trim found is stored with the song as every trim is.
#include <optional>
#include <string>

#include "core/program.h"

namespace vx::mixer {

inline constexpr double kAutoGainTarget = -14;  // LUFS

// The stored trim (0 = no cut .. 4000 = full cut) that brings a song of `loudness` LUFS to the
// target at full channel fader: the trim cut t = stored / 100 lowers the level by t * t / 100 dB.
// A song too quiet for the target stays at no cut; one too loud gets the full cut.
long autoGainTrim(double loudness);

// Applies the auto gain to the song `path` now in the deck, when the option is on, the song is
// the one selected in the deck's list, its trim is still the initial trim and its loudness is
// known. Otherwise nothing changes.
void applyAutoGain(Program& p, int deck, const std::string& path);

// Once per main tick, after the analyses were taken: applies the auto gain once to a deck's new
// song when its analysis is there (at once when cached, else when it arrives).
void autoGainTick(Program& p);

// The menu entry from velvoxplus.ini (off when absent), and its click.
void readAutoGainSetting(Program& p);
void toggleAutoGain(Program& p);

}  // namespace vx::mixer
