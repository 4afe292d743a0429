#pragma once
// A private folder for one test's settings file, removed afterwards.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "shell/settings_file.h"
#include "songlist/song_list.h"
#include "tests/support/test_program.h"

namespace vx::test {

class SettingsFolder {
 public:
  SettingsFolder() {
    static int serial = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("velvox-settings-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir_);
  }
  ~SettingsFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  SettingsFolder(const SettingsFolder&) = delete;
  SettingsFolder& operator=(const SettingsFolder&) = delete;

  std::string path() const { return (dir_ / "velvoxp.ini").string(); }
  std::string folder() const { return dir_.string(); }

  void write(const std::string& bytes) const { std::ofstream(path(), std::ios::binary) << bytes; }
  void writeLines(const std::vector<std::string>& lines) const {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    write(text);
  }
  std::string bytes() const {
    std::ifstream in(path(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The file's lines without their CR LF.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    const std::string all = bytes();
    size_t at = 0;
    while (at < all.size()) {
      size_t end = all.find("\r\n", at);
      if (end == std::string::npos) end = all.size();
      out.push_back(all.substr(at, end - at));
      at = end + 2;
    }
    return out;
  }

 private:
  std::filesystem::path dir_;
};

// Writes a settings file holding the program's present settings, menus and window position with
// empty song lists and points the program at it, so that start-up reads back what the test set
// up and adds nothing to the lists.
inline void keepStateAcrossStart(TestProgram& t, const SettingsFolder& folder) {
  std::vector<std::string> lines = shell::settingsLines(t.p);
  const int entries = songlist::SongList(t.p.main, 0).count() + songlist::SongList(t.p.main, 1).count();
  lines.erase(lines.begin(), lines.begin() + 2 + 7 * entries + 2);
  lines.insert(lines.begin(), {"0", "0", "-1", "-1"});
  folder.writeLines(lines);
  t.p.settingsPath = folder.path();
}

}  // namespace vx::test
