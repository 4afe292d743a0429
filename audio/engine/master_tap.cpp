#include "audio/engine/master_tap.h"

#include <thread>

#include "audio/engine/mixer.h"

namespace vx::audio {

MasterTap::MasterTap(Mixer& mixer) : mixer_(mixer) { mixer_.setTap(this); }

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

void MasterTap::stop() {
  ring_.store(nullptr);
  // A render that took the ring before it was withdrawn finishes its copy first.
  while (inside_.load() != 0) std::this_thread::yield();
}

}  // namespace vx::audio
