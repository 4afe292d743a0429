#pragma once
// Where the headless run keeps its files.
#include <string>

#include "script/script.h"

namespace vx::assembly {

using script::EnvLookup;

struct HomePaths {
  std::string home;              // the program's folder: skins are looked up here first
  std::string settingsFolder;    // the home folder, or the user's configuration folder when it is not writable
  std::string executableFolder;  // the installed skins lie beside the executable or in ../share/velvox
};

// --home DIR, else $VELVOX_HOME, else `executableFolder`. A home folder that does not exist
// yet is created. False with a message in `error` when it cannot be made or is not a folder.
bool resolveHome(const std::string& argument, const EnvLookup& env, const std::string& executableFolder,
                 HomePaths& out, std::string& error);

// The folder of the running executable ("." when it cannot be found).
std::string executableFolder();

}  // namespace vx::assembly
