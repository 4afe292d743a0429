#pragma once
// A Program built on the fakes and wired like the real one, for tests of any subsystem:
//   vx::test::TestProgram t;           // monitor library present
//   t.addSong(0, "/music/a.mp3");       // deck A has a selected, opened song
//   t.form().picture("Pause", 0).events.mouseDown({});
//   EXPECT_TRUE(t.player(0).called("play"));
#include <string>

#include "core/program.h"
#include "tests/support/fake_ports.h"

namespace vx::test {

struct TestOptions {
  bool monitorMissing = false;  // Ports::monitor == nullptr, as when the library cannot be loaded
  bool wire = true;             // attach every subsystem's handlers (shell::wireMainForm)
};

// A mouse event at (x, y) twips of the control, with the left button unless told.
inline form::MouseEvent mouseAt(double x, double y, form::MouseButton b = form::MouseButton::Left) {
  form::MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  return e;
}

class TestProgram {
 public:
  explicit TestProgram(TestOptions options = {});
  TestProgram(const TestProgram&) = delete;
  TestProgram& operator=(const TestProgram&) = delete;

  // The fakes are declared before the program: the program's ports point at them.
  FakeMediaPlayer players[2];
  FakeMonitorLibrary monitor;
  FakeWaveOut waveOut;
  FakeSoundDevice sound;
  FakeRecordingDevice recorder;
  FakeDjMixer dj;
  FakeDialogs dialogs;
  FakeShell shell;
  Program p;

  FakeMediaPlayer& player(int deck) { return players[deck]; }
  form::MainForm& form() { return p.main; }

  // Appends a fresh entry for `path` to the deck's song list and selects it; with `open`, also
  // gives the path to the deck's player. Returns the entry's index.
  int addSong(int deck, const std::string& path, bool open = true);
  // Forgets the calls recorded so far by every fake (the dialogs keep theirs).
  void clearCalls();
};

// True once the end handling of automatic mixing stops an ended deck; tests of what reaches it
// skip until then.
bool endHandlingBuilt();

}  // namespace vx::test
