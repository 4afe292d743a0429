#pragma once
#include <string>

namespace vx::platform {

// Recording through command strings, one device at a time under an alias:
//   open new type waveaudio alias A · set A bitspersample 8|16 · set A samplespersec N ·
//   set A channels 1|2 · set A source input|master · record A · stop A ·
//   save A PATH (PATH in double quotes when it holds blanks) · close A
// A new recording is 8 bit, 11,025 Hz, mono, from the recording input, until set otherwise.
// UI thread only.
class RecordingDevice {
 public:
  virtual ~RecordingDevice() = default;
  // 0 on success, otherwise an error code for errorText().
  virtual long sendCommand(const std::string& command, std::string& result) = 0;
  virtual std::string errorText(long code) const = 0;
  // Looks at a running recording: one whose input went away or whose disk filled up is stopped
  // here, keeping what was recorded so far. Returns why it stopped, once; "" while all is well.
  virtual std::string takeInterruption() { return ""; }
  // Seconds of sound the last recording lost because the disk could not keep up (a writer held
  // up for longer than the device's buffer lasts); told once, after a stop. 0 when none.
  virtual double takeLostSeconds() { return 0; }
};

}  // namespace vx::platform
