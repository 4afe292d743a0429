#include "tests/support/test_program.h"

#include "play/automix.h"
#include "shell/wiring.h"
#include "songlist/song_list.h"

namespace vx::test {

namespace {

platform::Ports fakePorts(TestProgram& t, const TestOptions& o) {
  platform::Ports ports;
  ports.player[0] = &t.players[0];
  ports.player[1] = &t.players[1];
  ports.monitor = o.monitorMissing ? nullptr : &t.monitor;
  ports.waveOut = &t.waveOut;
  ports.sound = &t.sound;
  ports.recorder = &t.recorder;
  ports.dj = &t.dj;
  ports.dialogs = &t.dialogs;
  ports.shell = &t.shell;
  return ports;
}

}  // namespace

TestProgram::TestProgram(TestOptions options) : p(fakePorts(*this, options)) {
  players[1].deck = 1;
  if (options.wire) shell::wireMainForm(p);
}

int TestProgram::addSong(int deck, const std::string& path, bool open) {
  songlist::SongList list(p.main, deck);
  list.append(songlist::newSongEntry(p, path));
  int index = list.count() - 1;
  list.select(index);
  if (open) players[deck].setFileName(path);
  return index;
}

void TestProgram::clearCalls() {
  for (auto& pl : players) pl.clearCalls();
  monitor.clearCalls();
  waveOut.clearCalls();
  sound.clearCalls();
  recorder.clearCalls();
  dj.clearCalls();
}

bool endHandlingBuilt() {
  TestProgram probe;
  probe.form().menu("autoplay2").setChecked(true);
  probe.addSong(0, "/music/a.mp3");
  probe.addSong(1, "/music/b.mp3");
  play::nonstop(probe.p, 0);
  return probe.player(0).called("stop");
}

}  // namespace vx::test
