#include "audio/engine/share_reader.h"

#include <algorithm>
#include <cmath>

namespace vx::audio {
namespace {

// Block positions are sums of the same numbers on both sides; they differ by rounding only.
constexpr double kJoin = 0.01;

}  // namespace

void ShareReader::attach(StretchShare* share, uint64_t song) {
  share_ = share;
  song_ = song;
  at_ = 0;
  broken_ = ended_ = false;
}

const StretchShare::Block* ShareReader::usableFront() {
  while (const StretchShare::Block* b = share_->front()) {
    if (b->song == song_ && b->plain && b->stream == share_->latestStream()) return b;
    share_->drop();
  }
  return nullptr;
}

bool ShareReader::findPlace(double position, double rate, double sourcePerInput, double& snapped) {
  if (!share_) return false;
  at_ = 0;
  broken_ = ended_ = false;
  while (const StretchShare::Block* b = usableFront()) {
    if (b->frames == 0 || b->start + b->length <= position || b->start > position) {
      share_->drop();
      continue;
    }
    if (b->rate != rate || b->sourcePerInput != sourcePerInput) return false;
    const double perFrame = b->length / b->frames;
    at_ = std::clamp(static_cast<int>(std::lround((position - b->start) / perFrame)), 0, b->frames - 1);
    if (waiting() < kMargin) return false;
    snapped = b->start + at_ * perFrame;
    next_ = b->start;
    stream_ = b->stream;
    return true;
  }
  return false;
}

bool ShareReader::runningOut() const {
  if (!share_) return true;
  return share_->latestStream() != stream_ || waiting() < StretchShare::kBlockFrames;
}

long ShareReader::waiting() const {
  return static_cast<long>(share_->blocks()) * StretchShare::kBlockFrames - at_;
}

int ShareReader::take(float* out, int frames, double& moved) {
  moved = 0;
  int made = 0;
  while (made < frames && !broken_ && !ended_) {
    const StretchShare::Block* b = share_ ? share_->front() : nullptr;
    if (!b || b->song != song_ || !b->plain || b->stream != stream_ || std::fabs(b->start - next_) > kJoin) {
      broken_ = true;
      break;
    }
    const int n = std::min(frames - made, b->frames - at_);
    std::copy(b->data + 2 * at_, b->data + 2 * (at_ + n), out + 2 * made);
    if (n > 0) moved += b->length * n / b->frames;
    at_ += n;
    made += n;
    if (at_ < b->frames) continue;
    ended_ = b->drained;
    next_ = b->start + b->length;
    at_ = 0;
    share_->drop();
  }
  return made;
}

}  // namespace vx::audio
