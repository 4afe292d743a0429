#include "assembly/home_folder.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace vx::assembly {

namespace fs = std::filesystem;

std::string executableFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec || self.empty()) return ".";
  return self.parent_path().string();
}

namespace {

bool makeFolder(const std::string& path, std::string& error) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (fs::is_directory(path, ec)) return true;
  error = "the folder " + path + " cannot be used" + (ec ? ": " + ec.message() : "");
  return false;
}

// $XDG_CONFIG_HOME/velvox, else ~/.config/velvox.
std::string userConfigFolder(const EnvLookup& env) {
  if (auto xdg = env("XDG_CONFIG_HOME"); xdg && !xdg->empty()) return *xdg + "/velvox";
  auto home = env("HOME");
  return (home ? *home : std::string(".")) + "/.config/velvox";
}

}  // namespace

bool resolveHome(const std::string& argument, const EnvLookup& env, const std::string& executableFolder,
                 HomePaths& out, std::string& error) {
  std::string home = argument;
  if (home.empty()) {
    auto fromEnv = env("VELVOX_HOME");
    home = fromEnv && !fromEnv->empty() ? *fromEnv : executableFolder;
  }
  if (!makeFolder(home, error)) return false;
  out.home = home;
  out.settingsFolder = home;
  out.executableFolder = executableFolder;
  if (access(home.c_str(), W_OK) == 0) return true;
  out.settingsFolder = userConfigFolder(env);
  return makeFolder(out.settingsFolder, error);
}

}  // namespace vx::assembly
