// Times the settings file with both lists full (2 x 32,767 songs) against a plain read and write
// of the same bytes in the same run, and the start-up to the shown main window with that file
// (the splash's wait aside). The reading is also set against the plainest reading into lines
// (getline into strings), which any line-per-value reader has to do. Each figure is the median
// of several runs with warm caches.
// The reading is timed twice: over and over in this process, where the memory allocator hands
// back the memory the last run let go, and once in each of several fresh processes, as the
// program reads the file when it starts: there the memory is new and every page of it is a
// fault the system must serve, for the plain read as for the program.
// Usage: bench_settings [folder]
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "shell/settings_file.h"
#include "shell/startup.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace fs = std::filesystem;
using vx::test::TestProgram;

namespace {

constexpr int kRuns = 5;

double medianSeconds(const std::function<void()>& run, const std::function<void()>& reset = {}) {
  return vx::bench::medianSeconds(kRuns, run, reset);
}

using vx::bench::report;

void fillLists(TestProgram& t) {
  for (int deck = 0; deck < 2; ++deck) {
    vx::songlist::Columns columns;
    for (int i = 0; i < vx::songlist::kMaxSongs; ++i) {
      // Names as a Japanese collection has them: about a third of the bytes are not ASCII.
      const std::string path = "/home/dj/音楽/アーティスト " + std::to_string(i % 500) + "/曲 " + std::to_string(i) + ".mp3";
      const std::string values[] = {path, vx::songlist::fileTitle(path), "100", "2000", "-1", "12.5", "-1"};
      for (int c = 0; c < vx::songlist::kColumns; ++c) columns[static_cast<size_t>(c)].push_back(values[c]);
    }
    vx::songlist::SongList(t.p.main, deck).appendColumns(std::move(columns));
  }
  vx::songlist::SongList(t.p.main, 0).select(100);
  vx::songlist::SongList(t.p.main, 1).select(200);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The file whole into a string sized once: one open, one read.
std::string readWhole(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return bytes;
  bytes.resize(static_cast<size_t>(st.st_size));
  if (::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::perror("read");
  ::close(fd);
  return bytes;
}

// The same bytes written as the program writes them: a temporary file, synced, renamed.
void writeBytesPlain(const std::string& path, const std::string& bytes) {
  const std::string tmp = path + ".plain";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::perror("write");
  ::fsync(fd);
  ::close(fd);
  std::rename(tmp.c_str(), (path + ".copy").c_str());
}

// The plainest reading of the same file into lines: getline into a vector of strings.
size_t readLinesPlain(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
  return lines.size();
}

std::unique_ptr<TestProgram> programFor(const std::string& settings) {
  auto t = std::make_unique<TestProgram>();
  t->p.settingsPath = settings;
  t->p.skin.roots = {VELVOX_BUILD_DIR "/picture"};
  return t;
}

// One reading in this process, as a fresh process makes it: "program" (readSettings on a
// program made beforehand) or "plain". Prints the seconds it took.
int readOnce(const std::string& what, const std::string& settings) {
  auto program = what == "program" ? programFor(settings) : nullptr;
  std::string kept;
  const auto start = std::chrono::steady_clock::now();
  if (program)
    vx::shell::readSettings(program->p);
  else
    kept = readWhole(settings);
  std::printf("%.9f\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}

// The median of readings in fresh processes, this program started again for each.
double medianInFreshProcesses(const char* self, const char* what, const std::string& settings) {
  std::vector<double> times;
  for (int i = 0; i < 2 * kRuns - 1; ++i) {
    int out[2];
    if (::pipe(out) != 0) return 0;
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::execl(self, self, "--read-once", what, settings.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    char text[64] = {};
    const ssize_t got = ::read(out[0], text, sizeof text - 1);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    if (got > 0) times.push_back(std::strtod(text, nullptr));
  }
  if (times.empty()) return 0;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--read-once") return readOnce(argv[2], argv[3]);
  const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "velvox-bench-settings";
  fs::create_directories(dir);
  const std::string settings = (dir / "velvoxp.ini").string();

  auto full = programFor(settings);
  fillLists(*full);
  const double write = medianSeconds([&] { vx::shell::savest(full->p); });
  const std::string bytes = readBytes(settings);
  const double plainWrite = medianSeconds([&] { writeBytesPlain(settings, bytes); });
  std::printf("settings file: %zu bytes, %d songs a list\n", bytes.size(), vx::songlist::kMaxSongs);
  report("savest", write, "write the bytes (sync, rename)", plainWrite);

  // Each reading keeps what it read until the next run, as the program keeps its lists, so
  // both meet the memory allocator in the same state.
  std::unique_ptr<TestProgram> fresh;
  const double read = medianSeconds([&] { vx::shell::readSettings(fresh->p); }, [&] { fresh = programFor(settings); });
  std::string kept;
  const double plainRead = medianSeconds([&] { kept = readWhole(settings); }, [&] { kept = {}; });
  const double plainLines = medianSeconds([&] { readLinesPlain(settings); });
  report("readSettings", read, "read the bytes", plainRead);
  report("readSettings", read, "getline into strings", plainLines);
  const double freshRead = medianInFreshProcesses(argv[0], "program", settings);
  const double freshPlain = medianInFreshProcesses(argv[0], "plain", settings);
  report("readSettings, fresh process", freshRead, "read the bytes, fresh process", freshPlain);

  const double start = medianSeconds(
      [&] {
        vx::shell::startProgram(fresh->p);
        vx::shell::splashDismiss(fresh->p);
      },
      [&] { fresh = programFor(settings); });
  std::printf("%-30s %9.2f ms   (target under 300 ms)\n", "start-up to the main window", start * 1e3);
  fresh.reset();
  fs::remove_all(dir);
  return 0;
}
