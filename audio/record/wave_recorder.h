#pragma once
// The recording device behind the command strings (see platform/recording_device.h): records
// from the recording input or from the program's main output into a spool file, and saves it
// as a RIFF WAV file under the name given. Failures come back as a code and a text.
//
// Threads: UI thread only; the sources deliver and the writer writes on their own threads.
#include <memory>
#include <string>
#include <vector>

#include "audio/record/capture_source.h"
#include "audio/record/wave_writer.h"
#include "platform/recording_device.h"

namespace vx::audio {

class WaveRecorder : public platform::RecordingDevice {
 public:
  // Error codes, numbered as the classic command interface numbers them.
  enum Code : long {
    kBadParameter = 259,
    kUnknownCommand = 261,
    kNotOpen = 263,
    kOutOfRange = 282,
    kNotSaved = 286,
    kAliasInUse = 289,
    kNoInput = 328,
  };
  static constexpr double kRingSeconds = 10;

  // `input` is the recording input, `master` the main output (null: not offered); `spoolFolder`
  // holds the recording until it is saved.
  WaveRecorder(CaptureSource& input, CaptureSource* master, std::string spoolFolder);
  ~WaveRecorder() override;

  long sendCommand(const std::string& command, std::string& result) override;
  std::string errorText(long code) const override;
  std::string takeInterruption() override;
  double takeLostSeconds() override;

  bool recording() const { return source_ != nullptr; }

 private:
  long run(const std::vector<std::string>& words, std::string& result);
  long open(const std::vector<std::string>& words);
  long set(const std::vector<std::string>& words);
  long record();
  long save(const std::vector<std::string>& words);
  void stop();
  void close();
  void dropSpool();
  long fail(long code, std::string detail);

  CaptureSource& input_;
  CaptureSource* master_;
  std::string spoolFolder_;
  std::string alias_;  // "" = not open
  WaveFormat format_;
  bool fromMaster_ = false;
  CaptureRing ring_;
  WaveWriter writer_;
  CaptureSource* source_ = nullptr;  // the source delivering now
  std::string spool_;                // the recording made, "" = none
  bool spoolOwned_ = false;          // false once the spool was moved to where it was saved
  long lastCode_ = 0;
  std::string lastDetail_;
  std::string interruption_;
  int deliveredSamplesPerSecond_ = 0;  // of the source recording now
  double lostSeconds_ = 0;             // told after the stop
};

// The folder a recording waits in until it is saved: the user's cache folder (a long recording
// does not fit in memory-backed temporary folders), else the temporary folder.
std::string defaultSpoolFolder();

}  // namespace vx::audio
