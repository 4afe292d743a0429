#include "audio/decode/packet_index.h"

#include <algorithm>
#include <iterator>

namespace vx::audio {

void PacketIndex::add(int64_t pos, int64_t pts, int64_t samples) {
  entries_.push_back({pos, pts, total_});
  total_ += samples;
}

size_t PacketIndex::packetAt(int64_t sample) const {
  auto it = std::upper_bound(entries_.begin(), entries_.end(), sample,
                             [](int64_t s, const Entry& e) { return s < e.start; });
  return it == entries_.begin() ? 0 : static_cast<size_t>(it - entries_.begin() - 1);
}

size_t PacketIndex::firstAtSamePosition(size_t k) const {
  while (k > 0 && entries_[k].pos >= 0 && entries_[k - 1].pos == entries_[k].pos) --k;
  return k;
}

int64_t PacketIndex::find(int64_t pos, int64_t pts) const {
  if (pos >= 0) {
    // Positions grow through the file; among packets sharing one, the timestamp decides.
    auto it = std::lower_bound(entries_.begin(), entries_.end(), pos, [](const Entry& e, int64_t p) { return e.pos < p; });
    auto end = it;
    while (end != entries_.end() && end->pos == pos) ++end;
    if (end - it == 1) return it - entries_.begin();
    for (auto at = it; at != end; ++at)
      if (at->pts == pts) return at - entries_.begin();
    return -1;
  }
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].pts == pts) return static_cast<int64_t>(i);
  return -1;
}

}  // namespace vx::audio
