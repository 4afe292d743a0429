#pragma once
// A song decoded by FFmpeg straight to float frames at the file's rate, for analysis: no seek
// table, as cheap as decoding gets. The frames are stereo as the decks play them (a mono file
// doubled at full level on both sides), so that a loudness measured on them is the loudness
// heard. Used by one thread at a time; it cannot seek.
#include <memory>
#include <string>

#include "audio/decode/decoder.h"

namespace vx::audio {

// Null when FFmpeg cannot open the file or it holds no audio it can decode.
std::unique_ptr<Decoder> openMonoReader(const std::string& path);

}  // namespace vx::audio
