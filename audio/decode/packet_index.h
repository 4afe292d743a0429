#pragma once
// Where every packet of an audio stream lies and with which sample it starts, found by one
// straight read of the file. With it a seek lands on a known packet whatever the demuxer's own
// timestamps say after a jump (they are estimates for some formats). Reader thread (or the UI
// thread while opening).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx::audio {

class PacketIndex {
 public:
  struct Entry {
    int64_t pos;    // byte position in the file, -1 when unknown
    int64_t pts;    // as the demuxer gave it in the straight read
    int64_t start;  // samples in all packets before this one
  };

  void add(int64_t pos, int64_t pts, int64_t samples);
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const Entry& operator[](size_t i) const { return entries_[i]; }
  int64_t totalSamples() const { return total_; }
  // The last packet starting at or before `sample` (0 when none does).
  size_t packetAt(int64_t sample) const;
  // The first packet sharing the byte position of packet k (several can share one when the
  // container packs them together; a byte seek lands on the first of them).
  size_t firstAtSamePosition(size_t k) const;
  // Which packet a packet read after a jump is, by its position and timestamp; -1 when unknown.
  int64_t find(int64_t pos, int64_t pts) const;

 private:
  std::vector<Entry> entries_;
  int64_t total_ = 0;
};

}  // namespace vx::audio
