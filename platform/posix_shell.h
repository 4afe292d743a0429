#pragma once
#include <string>

#include "platform/shell.h"

namespace vx::platform {

// The operating-system services on Linux and other POSIX systems.
//
// Single instance: an exclusive flock() on a per-user lock file in $XDG_RUNTIME_DIR (else /tmp).
// The kernel drops the lock when the process ends however it ends, so a crashed instance never
// blocks the next start. The lock is held until this object is destroyed.
class PosixShell : public Shell {
 public:
  // `lockPath` overrides the lock file (tests); empty = the per-user default.
  explicit PosixShell(std::string lockPath = "");
  ~PosixShell() override;
  PosixShell(const PosixShell&) = delete;
  PosixShell& operator=(const PosixShell&) = delete;

  bool acquireSingleInstance() override;
  // The XDG music folder, else ~/Music, else the home folder.
  std::string defaultMediaFolder() override;
  bool folderExists(const std::string& path) override;
  // Regular files (symbolic links to them included), hidden ones left out, sorted by name.
  std::vector<std::string> listFiles(const std::string& folder) override;
  bool isFolder(const std::string& path) override;
  bool folderReadable(const std::string& folder) override;
  // Starts the program (a command name found on PATH, or a path) without waiting for it;
  // false when it could not be started.
  bool startProcess(const std::string& program) override;

  static std::string defaultLockPath();

 private:
  std::string lockPath_;
  int lockFd_ = -1;
};

// The folder named by XDG_MUSIC_DIR in the text of a user-dirs.dirs file, with "$HOME"
// expanded; "" when the file does not name one or names the home folder itself.
std::string musicDirFromUserDirs(const std::string& text, const std::string& home);

}  // namespace vx::platform
