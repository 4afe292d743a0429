#pragma once
// A song decoded by FFmpeg straight to mono floats at the file's rate, for analysis: no seek
// table, no stereo conversion, as cheap as decoding gets. Used by one thread at a time.
#include <memory>
#include <string>

#include "audio/analysis/tempo_estimate.h"

namespace vx::audio {

// Null when FFmpeg cannot open the file or it holds no audio it can decode.
std::unique_ptr<MonoSource> openMonoReader(const std::string& path);

}  // namespace vx::audio
