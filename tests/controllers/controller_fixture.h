#pragma once
// The program on the fakes with its controllers: a MidiHost over the program's controls, its
// mappings in a folder of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "assembly/midi_host.h"
#include "tests/support/test_program.h"

namespace vx::test {

class ControllerFixture : public ::testing::Test {
 protected:
  ControllerFixture()
      : folder(std::filesystem::temp_directory_path() /
               ("velvox-controllers-" + std::to_string(::getpid()) + "-" + std::to_string(++serial()))) {
    std::filesystem::create_directories(folder);
    t.p.homeDir = folder.string();
    t.form().menu("countdown").setChecked(false);
  }
  ~ControllerFixture() override {
    host.reset();
    std::filesystem::remove_all(folder);
  }

  // realPorts: open the system's ports (the JACK test); wake: called on a port's thread.
  assembly::MidiHost& start(bool realPorts = false, std::function<void()> wake = {}) {
    host = std::make_unique<assembly::MidiHost>(t.p, std::move(wake), realPorts);
    host->start();
    return *host;
  }
  void send(const std::string& port, std::vector<uint8_t> bytes) { host->deliver(port, bytes); }
  void down(const std::string& name, int index = -1, form::MouseButton b = form::MouseButton::Left) {
    t.form().find(name, index)->events.mouseDown(mouseAt(10, 10, b));
  }
  double faderLeft() { return t.form().picture("Faderbtn").left(); }
  double mark(int deck) { return t.p.deck[deck].markPosition; }

  static int& serial() {
    static int n = 0;
    return n;
  }

  std::filesystem::path folder;
  TestProgram t;
  std::unique_ptr<assembly::MidiHost> host;
};

}  // namespace vx::test
