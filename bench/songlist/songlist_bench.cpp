// Times the song lists' heavy operations against a plain read of the same data in the same run:
//   a drop of a folder of 10,000 files   vs   listing the folder's names with readdir (and with
//                                             a stat of each, as telling files from folders needs)
//   loading a list file of 2 x 32,767    vs   reading the file's bytes
//   saving that list file                vs   the same (and vs writing its bytes with fsync)
// Each figure is the median of several runs with warm caches. Usage: bench_songlist [folder]
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "platform/posix_shell.h"
#include "songlist/adding.h"
#include "songlist/editing.h"
#include "songlist/list_file.h"
#include "songlist/list_files.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace fs = std::filesystem;
using vx::songlist::SongList;

namespace {

constexpr int kFolderFiles = 10000;
constexpr int kRuns = 7;

double medianSeconds(const std::function<void()>& run, const std::function<void()>& reset = {}) {
  return vx::bench::medianSeconds(kRuns, run, reset);
}

using vx::bench::report;

void makeMusicFolder(const fs::path& dir) {
  fs::create_directories(dir);
  static const char* kinds[] = {".mp3", ".wav", ".mid", ".wmd", ".txt"};
  for (int i = 0; i < kFolderFiles; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "track %05d - some artist%s", i, kinds[i % 5]);
    std::ofstream(dir / name);
  }
}

size_t readdirNames(const fs::path& dir) {
  std::vector<std::string> names;
  DIR* d = ::opendir(dir.c_str());
  while (const dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
  ::closedir(d);
  return names.size();
}

// What any listing of a folder's files must do to tell them from sub-folders through links.
size_t readdirStatFiles(const fs::path& dir) {
  std::vector<std::string> names;
  DIR* d = ::opendir(dir.c_str());
  while (const dirent* e = ::readdir(d)) {
    std::string path = dir.string() + "/" + e->d_name;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.emplace_back(e->d_name);
  }
  ::closedir(d);
  return names.size();
}

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytesSynced(const fs::path& file, const std::string& bytes) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (::write(fd, bytes.data(), bytes.size()) < 0) std::perror("write");
  ::fsync(fd);
  ::close(fd);
}

void fillFullLists(vx::Program& p) {
  vx::songlist::Columns c;
  for (int i = 0; i < vx::songlist::kMaxSongs; ++i) {
    const std::string title = "track " + std::to_string(i) + " - some artist.mp3";
    c[0].push_back("/home/dj/Music/collection/" + title);
    c[1].push_back(title);
    c[2].push_back(" 103.5");
    c[3].push_back("2000");
    c[4].push_back(std::to_string(i % 300) + ".25");
    c[5].push_back("-1");
    c[6].push_back("-1");
  }
  for (int deck = 0; deck < 2; ++deck) SongList(p.main, deck).appendColumns(c);
}

void benchDrop(vx::test::TestProgram& t, const fs::path& dir) {
  vx::platform::PosixShell shell((dir.parent_path() / "bench.lock").string());
  t.p.ports.shell = &shell;
  const double drop = medianSeconds([&] { vx::songlist::title1_OLEDragDrop(t.p, 0, {dir.string()}, 0); },
                                    [&] { vx::songlist::soat5(t.p); });
  std::printf("drop added %d songs\n", SongList(t.p.main, 0).count());
  const double plain = medianSeconds([&] { readdirNames(dir); });
  const double listing = medianSeconds([&] { shell.listFiles(dir.string()); });
  const double plainStat = medianSeconds([&] { readdirStatFiles(dir); });
  report("drop of a folder of 10,000 files", drop, "readdir of its names", plain);
  report("drop of a folder of 10,000 files", drop, "readdir and stat of each", plainStat);
  report("  of which the shell's listing", listing, "readdir and stat of each", plainStat);
  t.p.ports.shell = &t.shell;
}

void benchListFile(vx::test::TestProgram& t, const fs::path& dir) {
  const fs::path file = dir / "full.lis";
  vx::songlist::soat5(t.p);
  fillFullLists(t.p);
  const double save = medianSeconds([&] {
    t.dialogs.saveAnswers.push_back(file.string());
    vx::songlist::songlist0(t.p);
  });
  const std::string bytes = readBytes(file);
  std::printf("list file of 2 x %d songs: %.1f MB\n", SongList(t.p.main, 0).count(), bytes.size() / 1e6);
  const double load = medianSeconds([&] {
    t.dialogs.openAnswers.push_back(file.string());
    vx::songlist::songlistload(t.p);
  });
  const double plainRead = medianSeconds([&] { readBytes(file); });
  const double plainWrite = medianSeconds([&] { writeBytesSynced(dir / "plain.bin", bytes); });
  const double parse = medianSeconds([&] { vx::songlist::parseListFile(bytes); });
  report("  of which parsing the bytes", parse, "read of its bytes", plainRead);
  report("load of the list file", load, "read of its bytes", plainRead);
  report("save of the list file", save, "read of its bytes", plainRead);
  const double text = medianSeconds([&] { vx::songlist::listFileText(t.p.main); });
  report("  of which building its text", text, "read of its bytes", plainRead);
  report("save of the list file", save, "synced write of its bytes", plainWrite);
  if (!t.dialogs.messages().empty()) std::printf("unexpected message: %s\n", t.dialogs.messages().back().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "velvox-songlist-bench";
  fs::remove_all(base);
  makeMusicFolder(base / "music");
  vx::test::TestProgram t;
  benchDrop(t, base / "music");
  benchListFile(t, base);
  fs::remove_all(base);
  return 0;
}
