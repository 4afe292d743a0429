#include "recorder/recorder.h"

#include "recorder/mci.h"
#include "recorder/recorder_window.h"

namespace vx::recorder {

namespace {

void send(Program& p, const std::string& command) {
  p.recorder.lastMciResult = sendMciCommand(p, command, p.recorder.lastMciText);
}

}  // namespace

void startRecording(Program& p) {
  const RecorderState& r = p.recorder;
  send(p, "open new type waveaudio alias file");
  if (!r.recordBits) send(p, "set file bitspersample 16");
  if (r.recordRate == 1) send(p, "set file samplespersec 22050");
  else if (r.recordRate == 0) send(p, "set file samplespersec 44100");
  if (!r.recordMono) send(p, "set file channels 2");
  if (r.recordMaster) send(p, "set file source master");
  send(p, "record file");
  if (p.recorder.lastMciResult != 0) showMciError(p, p.recorder.lastMciResult, p.recorder.lastMciText);
  showRecording(p);
}

}  // namespace vx::recorder
