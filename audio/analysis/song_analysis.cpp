#include "audio/analysis/song_analysis.h"

#include <fstream>

#include "audio/analysis/loudness_meter.h"
#include "audio/analysis/mono_reader.h"
#include "audio/analysis/peak_overview.h"

namespace vx::audio {
namespace {

constexpr int kBlockFrames = 4096;

bool isMidiFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, sizeof head);
  return in && std::string_view(head, 4) == "MThd";
}

}  // namespace

SongAnalysis analyseSong(Decoder& source, bool findTempo, const std::atomic<bool>* cancel) {
  SongAnalysis result;
  const int rate = source.format().sampleRate;
  if (rate <= 0) return result;
  std::optional<TempoTracker> tempo;
  if (findTempo) tempo.emplace(rate);
  PeakOverview overview;
  LoudnessMeter loudness(rate);
  std::vector<float> stereo(static_cast<size_t>(kBlockFrames) * 2);
  int64_t frames = 0;
  while (true) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      result.cancelled = true;
      return result;
    }
    const int got = source.read(stereo.data(), kBlockFrames);
    if (got <= 0) break;
    overview.push(stereo.data(), got);
    loudness.push(stereo.data(), got);
    if (tempo) tempo->pushStereo(stereo.data(), got);
    frames += got;
  }
  if (tempo) result.tempo = tempo->finish();
  const double decoded = static_cast<double>(frames) / rate;
  result.tempo.seconds = std::min(decoded, kMaxAnalysedSeconds);
  // The decoded length is the truth; the stated one only stands in for a file that gave nothing.
  result.tempo.length = decoded > 0 ? decoded : source.format().durationSeconds;
  result.overview = overview.finish();
  result.loudness = loudness.integrated();
  return result;
}

SongAnalysis analyseSongFile(const std::string& path, const std::atomic<bool>* cancel) {
  const bool midi = isMidiFile(path);
  if (!midi)
    if (auto reader = openMonoReader(path)) return analyseSong(*reader, true, cancel);
  // MIDI files, and files FFmpeg does not take that a decoder of the player's may still play.
  auto opened = openDecoder(path);
  return opened.decoder ? analyseSong(*opened.decoder, !midi, cancel) : SongAnalysis{};
}

}  // namespace vx::audio
