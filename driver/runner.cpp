#include "driver/runner.h"

#include "control/control_commands.h"
#include "control/forms.h"

namespace vx::driver {

using namespace vx::control;   // NOLINT
using namespace vx::script;    // NOLINT

Runner::Runner(Session s, int sampleRate) : s_(s), items_(s.p, s.recorder), clock_(sampleRate) {
  timers_.note(programForms(s_.p), clock_.nowMs());
}

void Runner::markEnded() {
  if (ended_) return;
  ended_ = true;
  s_.out << "program ended\n";
}

int Runner::run(std::istream& in, const std::string& scriptName, std::ostream& err) {
  std::string text;
  int line = 0;
  try {
    while (std::getline(in, text)) {
      if (++line == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // an editor's byte-order mark
      runLine(text, line, err);
    }
  } catch (const ScriptError& e) {
    err << scriptName << ":" << line << ": " << e.what() << '\n';
    return 2;
  } catch (const ExpectationFailed& e) {
    err << scriptName << ":" << line << ": " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    err << scriptName << ":" << line << ": the program failed: " << e.what() << '\n';
    return 3;
  }
  auto unused = s_.dialogs.unusedAnswers();
  for (const std::string& u : unused) err << scriptName << ": " << u << '\n';
  return unused.empty() ? 0 : 1;
}

void Runner::runLine(const std::string& text, int line, std::ostream& notes) {
  std::vector<Word> words = splitWords(text, s_.env);
  if (words.empty()) return;
  Command c = parseCommand(words);
  bool observing = c.kind == CommandKind::Print || c.kind == CommandKind::Expect;
  if (ended_ && !observing) throw ScriptError("the program has ended; only print and expect can follow");
  execute(c, line, notes);
  if (!observing) afterCommand();
}

void Runner::midi(const Command& c) {
  if (!s_.midi) throw ScriptError("midi: this program has no controllers");
  s_.midi->deliver(c.target, c.bytes);
}

void Runner::execute(const Command& c, int line, std::ostream& notes) {
  bool reached = true;
  switch (c.kind) {
    case CommandKind::Down:
    case CommandKind::Up:
    case CommandKind::Move:
    case CommandKind::Click:
    case CommandKind::DblClick: reached = raiseMouse(s_.p, c); break;
    case CommandKind::Key:
    case CommandKind::KeyDown:
    case CommandKind::KeyUp: raiseKey(s_.p, c); break;
    case CommandKind::Drop: reached = raiseDrop(s_.p, c); break;
    case CommandKind::Menu: reached = raiseMenu(s_.p, c.target); break;
    case CommandKind::Close: closeWindow(s_.p, c.target); break;
    case CommandKind::Deactivate: deactivateWindow(s_.p, c.target); break;
    case CommandKind::Answer: s_.dialogs.queue(c.answer, line); break;
    case CommandKind::Set: setProperty(s_.p, c.target, c.value); break;
    case CommandKind::Tick: tick(c.count); break;
    case CommandKind::Print: print(c.target); break;
    case CommandKind::Expect: expect(c); break;
    case CommandKind::Midi: midi(c); break;
  }
  if (!reached) notes << "note: line " << line << ": " << c.target << " is hidden or disabled; nothing happens\n";
}

// Events the command caused reach the program; dialogs that got an answer they do not fit
// fail the run; a program that ended stops taking commands.
void Runner::afterCommand() {
  if (s_.midi) {
    s_.midi->drainNow();
    s_.midi->afterInput();
  }
  s_.sound.deliverEvents();
  timers_.note(programForms(s_.p), clock_.nowMs());
  auto misfits = s_.dialogs.takeMisfits();
  if (!misfits.empty()) throw ExpectationFailed(misfits.front());
  if (s_.p.quitRequested) markEnded();
}

void Runner::tick(long count) {
  for (long i = 0; i < count && !s_.p.quitRequested; ++i) tickOnce();
}

// Timers run before the audio of the same 30 ms is rendered, as the window's timer fires
// while the device plays on.
void Runner::tickOnce() {
  int frames = clock_.advance(kTickMs);
  auto* main = s_.p.main.findAs<form::Timer>("Timer1");
  if (main && main->enabled() && main->tick) main->tick();
  timers_.run(programForms(s_.p), clock_.nowMs(), main);
  if (s_.midi) s_.midi->drainNow();
  s_.sound.renderVirtual(frames);
  s_.sound.deliverEvents();
}

void Runner::print(const std::string& target) { s_.out << target << " = " << items_.read(parseItem(target)).print() << '\n'; }

void Runner::expect(const Command& c) {
  Value actual = items_.read(parseItem(c.target));
  if (!matches(actual, c.expected)) {
    std::string wanted = c.expected.quoted ? quote(c.expected.text) : c.expected.text;
    throw ExpectationFailed("expect " + c.target + " = " + wanted + " failed: it is " + actual.print());
  }
}

}  // namespace vx::driver
