#include "recorder/music_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vx::recorder {

namespace {

// The value of XDG_MUSIC_DIR in a user-dirs.dirs text, with $HOME expanded; "" when absent.
std::string musicLine(const std::string& text, const std::string& home) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_MUSIC_DIR=";
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    std::string value = line.substr(at + key.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
  }
  return "";
}

}  // namespace

std::string musicFolder(const EnvGetter& env, const std::string& userDirs,
                        const std::function<bool(const std::string&)>& isFolder) {
  const char* homeValue = env("HOME");
  std::string home = homeValue && *homeValue ? homeValue : "/";
  std::string music;
  if (const char* v = env("XDG_MUSIC_DIR"); v && *v) music = v;
  if (music.empty()) music = musicLine(userDirs, home);
  // A music folder the desktop names but that does not exist, or one equal to home, is home.
  if (!music.empty() && music.front() == '/' && isFolder(music)) return music;
  return home;
}

std::string musicFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string file = config && *config ? std::string(config) : std::string(home ? home : "") + "/.config";
  std::ifstream in(file + "/user-dirs.dirs");
  std::stringstream text;
  text << in.rdbuf();
  return musicFolder([](const char* name) { return std::getenv(name); }, text.str(), [](const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
  });
}

}  // namespace vx::recorder
