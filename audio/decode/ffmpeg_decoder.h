#pragma once
// Every format FFmpeg reads (mp3, wav, mpg audio, wma, flac, ogg, m4a, ...). Opening runs on any
// thread; see decoder.h for the use of the decoder afterwards.
#include "audio/decode/decoder.h"

namespace vx::audio {

OpenResult openFfmpegDecoder(const std::string& path);

}  // namespace vx::audio
