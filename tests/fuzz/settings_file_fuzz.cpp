// Feeds arbitrary bytes to the settings reader as the settings file of a program on the test
// doubles. Whatever it reads, the seven lists of each deck must stay in step within the list
// limit and the settings within the ranges the dialog and the mixer rely on.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/settings_file.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace {

const std::string& settingsPath() {
  static const std::string path = "/tmp/velvox-fuzz-settings-" + std::to_string(::getpid()) + ".ini";
  return path;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(settingsPath(), std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                         static_cast<std::streamsize>(size));
  vx::test::TestProgram t;
  t.p.settingsPath = settingsPath();
  vx::shell::readSettings(t.p);
  for (int deck = 0; deck < 2; ++deck) {
    const vx::songlist::SongList list(t.p.main, deck);
    check(list.count() <= vx::songlist::kMaxSongs);
    for (int c = 0; c < vx::songlist::kColumns; ++c) check(list.column(vx::songlist::Column(c)).listCount() == list.count());
  }
  const vx::Settings& s = t.p.settings;
  check(s.stutterInterval >= 0 && s.stutterInterval <= 10);
  check(s.initialTrim >= 0 && s.initialTrim <= 40);
  check(s.gapTime >= 0 && s.gapTime <= 100);
  for (int v : s.faderCurve) check(v >= 0 && v <= 500);
  for (int v : s.faderTime) check(v >= 1 && v <= 32767);
  for (int v : s.slotKind) check(v >= 0 && v <= 3);
  return 0;
}
