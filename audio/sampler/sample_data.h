#pragma once
// A sampler sound decoded whole when it is loaded, so that playing it never touches a file:
// float frames, mono or stereo (files with more channels are mixed down to stereo), at the
// file's own rate. Immutable once made; buffers made from the same unchanged file share it.
//
// Threads: loadSample() on the UI thread; the samples are read by the engine.
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"

namespace vx::audio {

struct SampleData {
  int sampleRate = 44100;
  int channels = 1;        // 1 or 2
  int fileChannels = 1;    // as stored in the file
  long frames = 0;
  std::vector<float> samples;  // interleaved, every value finite
};

// The largest sound held: 2^26 samples (256 MB of floats, 12 minutes of stereo at 44.1 kHz).
constexpr long kMaxSampleValues = 1L << 26;

// Null on failure, with `result` kSoundBadFormat (not readable as sound; missing file too),
// kSoundOutOfMemory (too long), or kSoundInvalidParam (no frames at all).
std::shared_ptr<const SampleData> loadSample(const std::string& path, platform::SoundResult& result);

}  // namespace vx::audio
