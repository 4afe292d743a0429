#pragma once
// Where a recording's sound comes from: the sound card's input, the virtual device's test tone,
// or the program's own main output. A source puts interleaved float samples into a ring at the
// rate and channel count it reports; the writer converts them to the file's format.
//
// Threads: start(), stop() and the getters on the UI thread; delivery happens on the source's
// own thread (a device callback, the engine's render) or, for the virtual tone, inside the
// virtual render.
#include <string>

#include "audio/realtime/capture_ring.h"

namespace vx::audio {

struct CaptureFormat {
  int rate = 44100;
  int channels = 2;
};

class CaptureSource {
 public:
  virtual ~CaptureSource() = default;
  // Starts delivering into `ring`. `wanted` is the file's format; `delivered` receives the format
  // the samples will arrive in. False, with the reason, when the source cannot be opened.
  virtual bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string& error) = 0;
  // Returns after the last delivery into the ring has finished.
  virtual void stop() = 0;
  // False once the source went away while delivering (a device unplugged, the server gone).
  virtual bool healthy() const = 0;
};

}  // namespace vx::audio
