#include "audio/sampler/sample_data.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <map>
#include <tuple>

namespace vx::audio {
namespace {

struct FileKey {
  std::string path;
  long long size = 0, mtime = 0;
  bool operator<(const FileKey& o) const {
    return std::tie(path, size, mtime) < std::tie(o.path, o.size, o.mtime);
  }
};

// Sounds still in use by some buffer, by file and its state on disk: the sound keyboard makes
// eight buffers of one file and decodes it once.
std::map<FileKey, std::weak_ptr<const SampleData>>& shared() {
  static std::map<FileKey, std::weak_ptr<const SampleData>> sounds;
  return sounds;
}

// Weights that fold channel `c` of `channels` into left and right, each output summing to at
// most 1 so that the fold cannot clip what did not clip.
void foldWeights(int channels, int c, float& left, float& right) {
  if (channels == 6) {  // L R C LFE Ls Rs
    static const float l[6] = {0.4142f, 0, 0.2929f, 0, 0.2929f, 0};
    static const float r[6] = {0, 0.4142f, 0.2929f, 0, 0, 0.2929f};
    left = l[c];
    right = r[c];
    return;
  }
  int perSide = (channels + 1) / 2;
  left = c % 2 == 0 ? 1.0f / static_cast<float>(perSide) : 0.0f;
  right = c % 2 == 1 ? 1.0f / static_cast<float>(channels / 2) : 0.0f;
}

std::shared_ptr<SampleData> decode(SNDFILE* file, const SF_INFO& info, platform::SoundResult& result) {
  auto data = std::make_shared<SampleData>();
  data->sampleRate = info.samplerate;
  data->fileChannels = info.channels;
  data->channels = info.channels == 1 ? 1 : 2;
  if (info.frames > kMaxSampleValues / data->channels) {
    result = platform::kSoundOutOfMemory;
    return nullptr;
  }
  data->samples.reserve(static_cast<size_t>(info.frames) * static_cast<size_t>(data->channels));
  std::vector<float> chunk(static_cast<size_t>(4096) * static_cast<size_t>(info.channels));
  for (;;) {
    sf_count_t got = sf_readf_float(file, chunk.data(), 4096);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f) {
      const float* frame = &chunk[static_cast<size_t>(f * info.channels)];
      if (data->channels == info.channels) {
        for (int c = 0; c < info.channels; ++c) data->samples.push_back(std::isfinite(frame[c]) ? frame[c] : 0.0f);
        continue;
      }
      float l = 0, r = 0;
      for (int c = 0; c < info.channels; ++c) {
        float wl, wr, v = std::isfinite(frame[c]) ? frame[c] : 0.0f;
        foldWeights(info.channels, c, wl, wr);
        l += wl * v;
        r += wr * v;
      }
      data->samples.push_back(l);
      data->samples.push_back(r);
    }
    if (static_cast<long>(data->samples.size()) > kMaxSampleValues) {
      result = platform::kSoundOutOfMemory;
      return nullptr;
    }
  }
  data->frames = static_cast<long>(data->samples.size()) / data->channels;
  if (data->frames == 0) {
    result = platform::kSoundInvalidParam;
    return nullptr;
  }
  data->samples.shrink_to_fit();
  return data;
}

}  // namespace

std::shared_ptr<const SampleData> loadSample(const std::string& path, platform::SoundResult& result) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result = platform::kSoundBadFormat;
    return nullptr;
  }
  FileKey key{path, static_cast<long long>(st.st_size), static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
  auto& sounds = shared();
  if (auto it = sounds.find(key); it != sounds.end()) {
    if (auto held = it->second.lock()) {
      result = platform::kSoundOk;
      return held;
    }
    sounds.erase(it);
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file || info.channels < 1 || info.samplerate <= 0) {
    if (file) sf_close(file);
    result = platform::kSoundBadFormat;
    return nullptr;
  }
  auto data = decode(file, info, result);
  sf_close(file);
  if (!data) return nullptr;
  result = platform::kSoundOk;
  sounds[key] = data;
  return data;
}

}  // namespace vx::audio
