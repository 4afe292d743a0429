// The Linux shell port against the real file system and processes, in a scratch folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/posix_shell.h"

namespace vx::platform {
namespace {

namespace fs = std::filesystem;

class ScratchFolder : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "velvox-shell-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  void touch(const fs::path& p) { std::ofstream(p) << "x"; }
};

// Forks a process that takes the lock and holds it until killed; returns its pid once it holds it.
pid_t holdLockInChild(const std::string& lockPath) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  pid_t pid = ::fork();
  if (pid == 0) {
    PosixShell shell(lockPath);
    char ok = shell.acquireSingleInstance() ? '1' : '0';
    (void)!::write(ready[1], &ok, 1);
    for (;;) ::pause();
  }
  char ok = 0;
  (void)!::read(ready[0], &ok, 1);
  ::close(ready[0]);
  ::close(ready[1]);
  if (ok == '1') return pid;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

TEST_F(ScratchFolder, SecondInstanceIsRefusedWhileTheFirstRunsAndAllowedAfterItDies) {
  const std::string lock = (dir / "instance.lock").string();
  pid_t first = holdLockInChild(lock);
  ASSERT_GT(first, 0);

  PosixShell second(lock);
  EXPECT_FALSE(second.acquireSingleInstance());

  // Killed, not ended cleanly: the lock must not outlive the process.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  EXPECT_TRUE(second.acquireSingleInstance());
  EXPECT_TRUE(second.acquireSingleInstance()) << "asking again keeps the claim";
  EXPECT_FALSE(PosixShell(lock).acquireSingleInstance());
}

TEST_F(ScratchFolder, UnusableLockFileDoesNotPreventStarting) {
  PosixShell shell((dir / "missing-folder" / "x.lock").string());
  EXPECT_TRUE(shell.acquireSingleInstance());
}

TEST_F(ScratchFolder, ListingHasVisibleRegularFilesSortedByName) {
  touch(dir / "b.mp3");
  touch(dir / "A.wav");
  touch(dir / "a.mid");
  touch(dir / ".hidden.mp3");
  fs::create_directory(dir / "sub.mp3");
  fs::create_symlink(dir / "b.mp3", dir / "link.mp3");
  const std::string d = dir.string();
  std::vector<std::string> expected{d + "/A.wav", d + "/a.mid", d + "/b.mp3", d + "/link.mp3"};
  PosixShell shell(d + "/lock");
  EXPECT_EQ(shell.listFiles(d), expected);
  EXPECT_EQ(shell.listFiles(d + "/"), expected);
  EXPECT_TRUE(shell.listFiles(d + "/nowhere").empty());
  EXPECT_TRUE(shell.isFolder(d + "/sub.mp3"));
  EXPECT_FALSE(shell.folderExists(d + "/b.mp3"));
  EXPECT_FALSE(shell.folderExists(""));
}

TEST(MusicDirFromUserDirs, ReadsTheMusicEntryExpandingHome) {
  const std::string text =
      "# comment XDG_MUSIC_DIR=\"/wrong\"\r\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\r\n"
      "XDG_MUSIC_DIR=\"$HOME/Musik/\"\r\n";
  EXPECT_EQ(musicDirFromUserDirs(text, "/home/u"), "/home/u/Musik");
  EXPECT_EQ(musicDirFromUserDirs("XDG_MUSIC_DIR=\"/srv/music\"\n", "/home/u"), "/srv/music");
  EXPECT_EQ(musicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/\"\n", "/home/u"), "") << "set to home = disabled";
  EXPECT_EQ(musicDirFromUserDirs("XDG_MUSIC_DIR=\"relative\"\n", "/home/u"), "");
  EXPECT_EQ(musicDirFromUserDirs("XDG_MUSIC_DIR=\"$HOME/unterminated\n", "/home/u"), "");
  EXPECT_EQ(musicDirFromUserDirs("", "/home/u"), "");
}

class MediaFolder : public ScratchFolder {
 protected:
  std::string savedHome, savedConfig;
  void SetUp() override {
    ScratchFolder::SetUp();
    savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    ::setenv("HOME", dir.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
  }
  void TearDown() override {
    ::setenv("HOME", savedHome.c_str(), 1);
    if (savedConfig.empty()) ::unsetenv("XDG_CONFIG_HOME"); else ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    ScratchFolder::TearDown();
  }
};

TEST_F(MediaFolder, PrefersTheUsersMusicFolderThenMusicThenHome) {
  PosixShell shell((dir / "lock").string());
  EXPECT_EQ(shell.defaultMediaFolder(), dir.string());
  fs::create_directory(dir / "Music");
  EXPECT_EQ(shell.defaultMediaFolder(), (dir / "Music").string());
  fs::create_directories(dir / ".config");
  std::ofstream(dir / ".config" / "user-dirs.dirs") << "XDG_MUSIC_DIR=\"$HOME/Songs\"\n";
  EXPECT_EQ(shell.defaultMediaFolder(), (dir / "Music").string()) << "a named folder that does not exist is skipped";
  fs::create_directory(dir / "Songs");
  EXPECT_EQ(shell.defaultMediaFolder(), (dir / "Songs").string());
}

TEST(StartProcess, ReportsWhetherTheProgramCouldBeStarted) {
  PosixShell shell("/tmp/velvox-test-unused.lock");
  EXPECT_TRUE(shell.startProcess("true"));
  EXPECT_FALSE(shell.startProcess("velvox-no-such-program"));
  EXPECT_FALSE(shell.startProcess(""));
}

}  // namespace
}  // namespace vx::platform
