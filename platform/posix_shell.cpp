#include "platform/posix_shell.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace vx::platform {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::string(v) : fallback;
}

std::string homeFolder() {
  std::string home = envOr("HOME", "");
  if (!home.empty()) return home;
  const passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? std::string(pw->pw_dir) : "/";
}

bool statIs(const std::string& path, mode_t type) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == type;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// True, with the quoted value, for a `NAME="value"` line; false for any other line.
bool quotedValue(const std::string& line, const std::string& name, std::string& value) {
  if (line.rfind(name + "=\"", 0) != 0) return false;
  auto first = name.size() + 2;
  auto last = line.find('"', first);
  if (last == std::string::npos) return false;
  value = line.substr(first, last - first);
  return true;
}

}  // namespace

std::string musicDirFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::string line, value;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!quotedValue(line, "XDG_MUSIC_DIR", value)) continue;
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (value.empty() || value[0] != '/') return "";
    value = withoutTrailingSlash(value);
    // A directory set to the home folder itself means "disabled".
    return value == withoutTrailingSlash(home) ? "" : value;
  }
  return "";
}

PosixShell::PosixShell(std::string lockPath) : lockPath_(lockPath.empty() ? defaultLockPath() : std::move(lockPath)) {}

PosixShell::~PosixShell() {
  if (lockFd_ >= 0) ::close(lockFd_);
}

std::string PosixShell::defaultLockPath() {
  std::string dir = envOr("XDG_RUNTIME_DIR", "");
  if (dir.empty() || !statIs(dir, S_IFDIR)) dir = "/tmp";
  return dir + "/velvox-" + std::to_string(getuid()) + ".lock";
}

bool PosixShell::acquireSingleInstance() {
  if (lockFd_ >= 0) return true;
  // O_NOFOLLOW: in a shared /tmp a link planted under our name must not be followed.
  int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  // Without a usable lock file there is no way to tell; starting is the lesser harm.
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    lockFd_ = fd;
    return true;
  }
  int error = errno;
  ::close(fd);
  return error != EWOULDBLOCK;
}

std::string PosixShell::defaultMediaFolder() {
  const std::string home = homeFolder();
  const std::string config = envOr("XDG_CONFIG_HOME", home + "/.config");
  std::string music = musicDirFromUserDirs(readFile(config + "/user-dirs.dirs"), home);
  if (!music.empty() && isFolder(music)) return music;
  if (isFolder(home + "/Music")) return home + "/Music";
  return home;
}

bool PosixShell::folderExists(const std::string& path) { return !path.empty() && statIs(path, S_IFDIR); }

bool PosixShell::isFolder(const std::string& path) { return folderExists(path); }

bool PosixShell::folderReadable(const std::string& folder) { return ::access(folder.c_str(), R_OK | X_OK) == 0; }

std::vector<std::string> PosixShell::listFiles(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  while (const dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;
    // The listing usually knows the entry's type; only file systems that do not say need a stat
    // (and symbolic links, which count as what they point to).
    const bool regular = e->d_type == DT_REG ||
                         ((e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) && statIs(prefix + name, S_IFREG));
    if (regular) names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  for (auto& n : names) n = prefix + n;
  return names;
}

bool PosixShell::startProcess(const std::string& program) {
  if (program.empty()) return false;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_init(&attr);
  // Its own session: closing our terminal or our process group leaves it running.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  std::string arg0 = program;
  char* argv[] = {arg0.data(), nullptr};
  pid_t pid = 0;
  int rc = ::posix_spawnp(&pid, program.c_str(), &actions, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  // Reaped in the background so that no zombie stays behind; nobody waits for the result.
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace vx::platform
