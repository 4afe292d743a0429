#pragma once
// Standard MIDI Files, synthesised with a General MIDI sound font. Opening runs on any thread;
// see decoder.h for the use of the decoder afterwards.
#include "audio/decode/decoder.h"

namespace vx::audio {

// True when the bytes begin like a Standard MIDI File.
bool looksLikeMidi(const std::string& firstBytes);
OpenResult openMidiDecoder(const std::string& path);

}  // namespace vx::audio
