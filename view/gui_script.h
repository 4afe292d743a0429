#pragma once
// Commands for the running window, one a line, in the headless driver's language, from a file
// or a pipe (`velvox --script PATH`, "-" for standard input): the benchmark and manual checks
// drive the real window with them. `tick N` lets N × 30 ms of real time pass, the window's own
// timers and the sound running on; every other command runs as an event handler of the window.
// `answer` is refused: the window's dialogs are real ones. `print` writes to standard output;
// a failed `expect` or a mistake stops the script with a message on standard error.
//
// Threads: UI thread only. A pipe is read as its lines arrive (a socket notifier, no thread),
// so a benchmark can send commands when it wants the window to change state.
#include <QObject>
#include <QSocketNotifier>
#include <deque>
#include <memory>
#include <ostream>
#include <string>

#include "assembly/midi_host.h"
#include "control/items.h"
#include "control/recording_log.h"
#include "core/program.h"
#include "view/dispatcher.h"

namespace vx::view {

class GuiScript : public QObject {
 public:
  GuiScript(Program& p, Dispatcher& dispatcher, std::ostream& out, std::ostream& err);
  ~GuiScript() override;
  // The controllers `midi PORT B1 B2 [B3]` speaks to (none: the command is refused).
  void setMidi(assembly::MidiHost* midi) { midi_ = midi; }
  // Starts reading `path`; false, with the reason on the error stream, when it cannot be opened.
  bool start(const std::string& path);

 private:
  void readAvailable();
  void runPending();
  // False when the script stops here.
  bool runLine(const std::string& text);
  void stop(const std::string& message);

  Program& p_;
  Dispatcher& dispatcher_;
  assembly::MidiHost* midi_ = nullptr;
  std::ostream& out_;
  std::ostream& err_;
  control::RecordingLog noRecorder_;
  control::ItemReader items_;
  std::string name_;
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string partial_;            // the start of a line still being written
  std::deque<std::string> lines_;  // lines read and not run yet
  int lineNumber_ = 0;
  bool waiting_ = false;  // a tick's time is passing
  bool stopped_ = false;
};

// The value of `--script` on the command line; "" when there is none.
std::string scriptArgument(int argc, char** argv);

}  // namespace vx::view
