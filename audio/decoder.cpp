#include "audio/decoder.h"

#include <fstream>

#include "audio/ffmpeg_decoder.h"
#include "audio/midi_decoder.h"

namespace vx::audio {

OpenResult openDecoder(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (path.empty() || !in) return {nullptr, path + ": the file cannot be read"};
  std::string head(4, '\0');
  in.read(head.data(), 4);
  head.resize(static_cast<size_t>(in.gcount()));
  if (head.empty()) return {nullptr, path + ": the file is empty"};
  return looksLikeMidi(head) ? openMidiDecoder(path) : openFfmpegDecoder(path);
}

}  // namespace vx::audio
