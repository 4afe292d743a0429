#include "audio/record/wave_writer.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace vx::audio {

namespace {

constexpr size_t kChunkFrames = 4096;
constexpr auto kWritePeriod = std::chrono::milliseconds(50);

}  // namespace

struct WaveWriter::Impl {
  SNDFILE* file = nullptr;
  SRC_STATE* resampler = nullptr;
  CaptureRing* ring = nullptr;
  WaveFormat format;
  CaptureFormat source;
  std::vector<float> in, mixed, out;
  bool failed = false;

  ~Impl() {
    if (resampler) src_delete(resampler);
    if (file) sf_close(file);
  }

  // The source's channels as the file's: mono is the mean of both sides, stereo repeats mono.
  void mapChannels(size_t frames) {
    mixed.resize(frames * static_cast<size_t>(format.channels));
    for (size_t f = 0; f < frames; ++f) {
      const float* s = &in[f * static_cast<size_t>(source.channels)];
      if (format.channels == 1) mixed[f] = source.channels >= 2 ? 0.5f * (s[0] + s[1]) : s[0];
      else {
        mixed[2 * f] = s[0];
        mixed[2 * f + 1] = source.channels >= 2 ? s[1] : s[0];
      }
    }
  }

  // The converted frames, ready in `out`; returns their number.
  size_t convert(size_t frames, bool last) {
    mapChannels(frames);
    if (!resampler) {
      out.swap(mixed);
      return frames;
    }
    double ratio = static_cast<double>(format.rate) / source.rate;
    out.resize((static_cast<size_t>(static_cast<double>(frames) * ratio) + kChunkFrames) * static_cast<size_t>(format.channels));
    SRC_DATA d{};
    d.data_in = mixed.data();
    d.input_frames = static_cast<long>(frames);
    d.data_out = out.data();
    d.output_frames = static_cast<long>(out.size()) / format.channels;
    d.src_ratio = ratio;
    d.end_of_input = last ? 1 : 0;
    if (src_process(resampler, &d) != 0) return 0;
    return static_cast<size_t>(d.output_frames_gen);
  }
};

bool WaveWriter::begin(const std::string& path, const WaveFormat& format, const CaptureFormat& source,
                       CaptureRing& ring, std::string& error) {
  end();
  auto impl = std::make_unique<Impl>();
  impl->format = format;
  impl->source = source;
  impl->ring = &ring;
  SF_INFO info{};
  info.samplerate = format.rate;
  info.channels = format.channels;
  info.format = SF_FORMAT_WAV | (format.bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
  impl->file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!impl->file) {
    error = sf_strerror(nullptr);
    return false;
  }
  // Loud passages are cut at full scale rather than wrapped round.
  sf_command(impl->file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  if (source.rate != format.rate) {
    int e = 0;
    impl->resampler = src_new(SRC_SINC_MEDIUM_QUALITY, format.channels, &e);
    if (!impl->resampler) {
      error = src_strerror(e);
      return false;
    }
  }
  impl->in.resize(kChunkFrames * static_cast<size_t>(source.channels));
  stop_ = false;
  frames_ = 0;
  {
    std::lock_guard lock(failureMutex_);
    failure_.clear();
  }
  thread_ = std::thread([this, i = impl.release()] { run(i); });
  return true;
}

void WaveWriter::run(Impl* raw) {
  std::unique_ptr<Impl> impl(raw);
  auto drain = [&](bool last) {
    for (;;) {
      size_t got = impl->ring->read(impl->in.data(), impl->in.size());
      size_t frames = got / static_cast<size_t>(impl->source.channels);
      bool finalChunk = last && got < impl->in.size();
      if (impl->failed) {
        if (got == 0) return;
        continue;  // what cannot be written is let go, so the ring never fills behind a dead disk
      }
      if (frames == 0 && !(finalChunk && impl->resampler)) return;
      size_t n = impl->convert(frames, finalChunk);
      if (n > 0) {
        auto written = sf_writef_float(impl->file, impl->out.data(), static_cast<sf_count_t>(n));
        if (written != static_cast<sf_count_t>(n)) {
          impl->failed = true;
          std::lock_guard lock(failureMutex_);
          failure_ = sf_strerror(impl->file);
        }
        frames_ += static_cast<uint64_t>(std::max<sf_count_t>(written, 0));
      }
      if (got < impl->in.size()) return;
    }
  };
  std::unique_lock lock(mutex_);
  while (!stop_) {
    wake_.wait_for(lock, kWritePeriod, [this] { return stop_; });
    lock.unlock();
    drain(false);
    lock.lock();
  }
  lock.unlock();
  drain(true);
  // Closing writes the header for the frames that reached the disk.
  impl.reset();
}

void WaveWriter::end() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

std::string WaveWriter::failure() const {
  std::lock_guard lock(failureMutex_);
  return failure_;
}

}  // namespace vx::audio
