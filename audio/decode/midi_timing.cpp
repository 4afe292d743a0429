#include "audio/decode/midi_timing.h"

#include <algorithm>

namespace vx::audio {
namespace {

// Reads the big-endian and variable-length numbers of the file, refusing to run past its end.
class Bytes {
 public:
  Bytes(const std::string& s, size_t begin, size_t end) : s_(s), at_(begin), end_(end) {}
  bool done() const { return at_ >= end_; }
  bool ok() const { return ok_; }
  size_t at() const { return at_; }
  uint32_t byte() {
    if (at_ >= end_) {
      ok_ = false;
      return 0;
    }
    return static_cast<unsigned char>(s_[at_++]);
  }
  uint32_t big(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | byte();
    return v;
  }
  uint32_t varLen() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      uint32_t b = byte();
      v = (v << 7) | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    ok_ = false;
    return v;
  }
  void skip(uint32_t n) {
    if (n > end_ - at_) ok_ = false;
    at_ = std::min(end_, at_ + n);
  }

 private:
  const std::string& s_;
  size_t at_, end_;
  bool ok_ = true;
};

struct TrackScan {
  int64_t endTick = 0;
  std::vector<std::pair<int64_t, uint32_t>> tempos;  // tick, microseconds per quarter note
};

int dataBytes(uint32_t status) {
  uint32_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

bool scanTrack(Bytes in, TrackScan& scan) {
  int64_t tick = 0;
  uint32_t running = 0;
  while (!in.done() && in.ok()) {
    tick += in.varLen();
    uint32_t status = in.byte();
    if (status == 0xFF) {
      uint32_t type = in.byte(), length = in.varLen();
      if (type == 0x51 && length == 3) {
        scan.tempos.emplace_back(tick, in.big(3));
      } else {
        in.skip(length);
      }
      if (type == 0x2F) break;
    } else if (status == 0xF0 || status == 0xF7) {
      in.skip(in.varLen());
    } else if (status & 0x80) {
      running = status;
      in.skip(dataBytes(status));
    } else if (running) {
      in.skip(dataBytes(running) - 1);  // the byte read was the first data byte
    } else {
      return false;
    }
  }
  scan.endTick = tick;
  return in.ok();
}

}  // namespace

std::optional<MidiTiming> MidiTiming::parse(const std::string& bytes) {
  if (bytes.size() < 14 || bytes.compare(0, 4, "MThd") != 0) return std::nullopt;
  Bytes header(bytes, 4, bytes.size());
  uint32_t length = header.big(4);
  header.big(2);  // format
  uint32_t tracks = header.big(2);
  uint32_t division = header.big(2);
  if (length < 6 || division == 0) return std::nullopt;
  MidiTiming timing;
  if (division & 0x8000) {
    int framesPerSecond = 256 - static_cast<int>((division >> 8) & 0xFF);
    int ticksPerFrame = static_cast<int>(division & 0xFF);
    if (framesPerSecond <= 0 || ticksPerFrame == 0) return std::nullopt;
    timing.smpteTick_ = 1.0 / (framesPerSecond * ticksPerFrame);
  } else {
    timing.division_ = static_cast<int>(division);
  }
  size_t at = 8 + length;
  std::vector<std::pair<int64_t, uint32_t>> tempos;
  uint32_t found = 0;
  while (found < tracks && at + 8 <= bytes.size()) {
    Bytes chunk(bytes, at, bytes.size());
    bool isTrack = bytes.compare(at, 4, "MTrk") == 0;
    chunk.skip(4);
    uint32_t size = chunk.big(4);
    size_t end = std::min(bytes.size(), at + 8 + static_cast<size_t>(size));
    if (isTrack) {
      TrackScan scan;
      if (!scanTrack(Bytes(bytes, at + 8, end), scan) && scan.endTick == 0) return std::nullopt;
      timing.lastTick_ = std::max(timing.lastTick_, scan.endTick);
      tempos.insert(tempos.end(), scan.tempos.begin(), scan.tempos.end());
      ++found;
    }
    at = end;
  }
  if (found == 0) return std::nullopt;
  std::stable_sort(tempos.begin(), tempos.end(), [](auto& a, auto& b) { return a.first < b.first; });
  timing.addTempo(0, 500000);  // 120 beats per minute until the file says otherwise
  for (auto& [tick, micros] : tempos) timing.addTempo(tick, micros);
  return timing;
}

void MidiTiming::addTempo(int64_t tick, uint32_t microsPerQuarter) {
  double perTick = smpteTick_ > 0 ? smpteTick_ : microsPerQuarter * 1e-6 / division_;
  if (!tempos_.empty() && tempos_.back().tick == tick) {
    tempos_.back().secondsPerTick = perTick;
    return;
  }
  double start = tempos_.empty() ? 0 : seconds(tick);
  tempos_.push_back({tick, perTick, start});
}

double MidiTiming::seconds(int64_t tick) const {
  auto it = std::upper_bound(tempos_.begin(), tempos_.end(), tick, [](int64_t t, const Tempo& e) { return t < e.tick; });
  const Tempo& tempo = *(it == tempos_.begin() ? it : it - 1);
  return tempo.startSeconds + static_cast<double>(tick - tempo.tick) * tempo.secondsPerTick;
}

int64_t MidiTiming::tickAt(double seconds) const {
  auto it = std::upper_bound(tempos_.begin(), tempos_.end(), seconds,
                             [](double s, const Tempo& e) { return s < e.startSeconds; });
  const Tempo& tempo = *(it == tempos_.begin() ? it : it - 1);
  return tempo.tick + static_cast<int64_t>((seconds - tempo.startSeconds) / tempo.secondsPerTick);
}

}  // namespace vx::audio
