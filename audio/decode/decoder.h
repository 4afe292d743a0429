#pragma once
// A music file decoded to stereo float frames at the file's own sample rate.
//
// Frame numbers count from the first frame a straight decode of the file yields. After
// seek(n), read() returns exactly what a straight decode returns from frame n on.
//
// Threads: an object is used by one thread at a time (opened on the UI thread, then handed to
// the reader thread).
#include <cstdint>
#include <memory>
#include <string>

namespace vx::audio {

struct SourceFormat {
  int sampleRate = 0;
  int channels = 0;            // of the file; the frames read are always stereo
  int64_t lengthFrames = 0;    // as the file states it; the true end is where read() returns 0
  double durationSeconds = 0;  // lengthFrames / sampleRate
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  virtual const SourceFormat& format() const = 0;
  // Fills up to `frames` interleaved stereo frames; returns how many, 0 at the end of the file
  // (a damaged stretch ends the file there).
  virtual int read(float* out, int frames) = 0;
  // False when the position cannot be reached; read() then returns 0.
  virtual bool seek(int64_t frame) = 0;
};

struct OpenResult {
  std::unique_ptr<Decoder> decoder;  // null when the file cannot be played
  std::string error;                 // why, for the user
};

// The result of opening `path` with `decoder`: the decoder when `ok`, else the reason, naming the file.
OpenResult openResult(const std::string& path, std::unique_ptr<Decoder> decoder, bool ok, const std::string& error);

// Chooses the decoder by the file's content, not its name. A file is accepted only when its
// audio actually decodes.
OpenResult openDecoder(const std::string& path);

}  // namespace vx::audio
