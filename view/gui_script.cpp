#include "view/gui_script.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTimer>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>

#include "control/control_commands.h"
#include "script/script.h"
#include "script/value.h"

namespace vx::view {

using script::CommandKind;

GuiScript::GuiScript(Program& p, Dispatcher& dispatcher, std::ostream& out, std::ostream& err)
    : p_(p), dispatcher_(dispatcher), out_(out), err_(err), items_(p, noRecorder_) {}

GuiScript::~GuiScript() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

bool GuiScript::start(const std::string& path) {
  name_ = path == "-" ? "stdin" : path;
  struct stat info {};
  if (path != "-" && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    // A file is all there: its lines are taken at once.
    std::ifstream file(path);
    if (!file) {
      err_ << "velvox: cannot read the script " << path << ": " << std::strerror(errno) << '\n';
      return false;
    }
    for (std::string line; std::getline(file, line);) lines_.push_back(line);
    QTimer::singleShot(0, this, [this] { runPending(); });
    return true;
  }
  // A pipe: its lines are run as they arrive. Opening it does not wait for a writer.
  fd_ = path == "-" ? ::dup(STDIN_FILENO) : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    err_ << "velvox: cannot read the script " << path << ": " << std::strerror(errno) << '\n';
    return false;
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readAvailable(); });
  return true;
}

void GuiScript::readAvailable() {
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      partial_.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n == 0) notifier_->setEnabled(false);  // every writer has gone: the script has ended
    break;
  }
  for (size_t end; (end = partial_.find('\n')) != std::string::npos;) {
    lines_.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
  runPending();
}

void GuiScript::runPending() {
  while (!waiting_ && !stopped_ && !lines_.empty()) {
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    ++lineNumber_;
    if (!runLine(line)) return;
  }
}

void GuiScript::stop(const std::string& message) {
  err_ << name_ << ":" << lineNumber_ << ": " << message << '\n';
  stopped_ = true;
  lines_.clear();
  if (notifier_) notifier_->setEnabled(false);
}

bool GuiScript::runLine(const std::string& text) {
  try {
    std::vector<script::Word> words = script::splitWords(text, script::processEnv);
    if (words.empty()) return true;
    script::Command c = script::parseCommand(words);
    switch (c.kind) {
      case CommandKind::Tick:
        waiting_ = true;
        QTimer::singleShot(static_cast<int>(c.count * script::kTickMs), this, [this] {
          waiting_ = false;
          runPending();
        });
        return true;
      case CommandKind::Print:
        out_ << c.target << " = " << items_.read(control::parseItem(c.target)).print() << std::endl;
        return true;
      case CommandKind::Expect: {
        script::Value actual = items_.read(control::parseItem(c.target));
        if (script::matches(actual, c.expected)) return true;
        stop("expect " + c.target + " failed: it is " + actual.print());
        return false;
      }
      case CommandKind::Answer:
        stop("answer: the window's dialogs are answered by the user");
        return false;
      default: break;
    }
    std::exception_ptr failure;
    dispatcher_.run([&] {
      try {
        switch (c.kind) {
          case CommandKind::Key:
          case CommandKind::KeyDown:
          case CommandKind::KeyUp: control::raiseKey(p_, c); break;
          case CommandKind::Drop: control::raiseDrop(p_, c); break;
          case CommandKind::Menu: control::raiseMenu(p_, c.target); break;
          case CommandKind::Set: control::setProperty(p_, c.target, c.value); break;
          case CommandKind::Midi:
            if (!midi_) throw script::ScriptError("midi: this program has no controllers");
            midi_->deliver(c.target, c.bytes);
            break;
          default: control::raiseMouse(p_, c); break;
        }
      } catch (const script::ScriptError&) {
        failure = std::current_exception();
      }
    });
    if (failure) std::rethrow_exception(failure);
    return true;
  } catch (const std::exception& e) {
    stop(e.what());
    return false;
  }
}

std::string scriptArgument(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--script") == 0) return argv[i + 1];
  return "";
}

}  // namespace vx::view
