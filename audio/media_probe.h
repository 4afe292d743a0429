#pragma once
// What a music file holds, found without playing it. Any thread.
#include <string>

namespace vx::audio {

struct MediaInfo {
  bool ok = false;
  std::string error;  // why the file cannot be played, when !ok
  double durationSeconds = 0;
  int sampleRate = 0;
  int channels = 0;
};

// A file is accepted only when its audio stream decodes: a name or a header alone is not enough.
MediaInfo probeMedia(const std::string& path);

}  // namespace vx::audio
