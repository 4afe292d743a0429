#include "audio/engine/master_tap.h"

#include <chrono>
#include <thread>

#include "audio/engine/mixer.h"

namespace vx::audio {

MasterTap::MasterTap(Mixer& mixer, bool waitForWriter) : mixer_(mixer), waitForWriter_(waitForWriter) {
  mixer_.setTap(this);
}

MasterTap::~MasterTap() {
  stop();
  mixer_.setTap(nullptr);
}

bool MasterTap::start(const CaptureFormat&, CaptureRing& ring, CaptureFormat& delivered, std::string&) {
  delivered = {mixer_.outputRate(), 2};
  ring_.store(&ring);
  mixer_.wakeIfSounding();
  return true;
}

void MasterTap::offerAll(CaptureRing& ring, const float* samples, size_t count) {
  for (size_t done = 0; done < count;) {
    done += ring.offer(samples + done, count - done);
    if (done < count) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void MasterTap::stop() {
  ring_.store(nullptr);
  // A render that took the ring before it was withdrawn finishes its copy first.
  while (inside_.load() != 0) std::this_thread::yield();
}

}  // namespace vx::audio
