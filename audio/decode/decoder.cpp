#include "audio/decode/decoder.h"

#include <filesystem>
#include <fstream>

#include "audio/decode/ffmpeg_decoder.h"
#include "audio/decode/midi_decoder.h"

namespace vx::audio {

OpenResult openResult(const std::string& path, std::unique_ptr<Decoder> decoder, bool ok, const std::string& error) {
  if (ok) return {std::move(decoder), ""};
  return {nullptr, path + ": " + error};
}

OpenResult openDecoder(const std::string& path) {
  std::error_code ec;
  std::ifstream in(path, std::ios::binary);
  if (path.empty() || !std::filesystem::is_regular_file(path, ec) || !in)
    return openResult(path, nullptr, false, "the file cannot be read");
  std::string head(4, '\0');
  in.read(head.data(), 4);
  head.resize(static_cast<size_t>(in.gcount()));
  if (head.empty()) return openResult(path, nullptr, false, "the file is empty");
  return looksLikeMidi(head) ? openMidiDecoder(path) : openFfmpegDecoder(path);
}

}  // namespace vx::audio
