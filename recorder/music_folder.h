#pragma once
// Where a recording goes when the user did not choose a place: the user's music folder as the
// desktop names it (XDG_MUSIC_DIR), else the home folder, never the folder the program happens
// to run in.
#include <functional>
#include <string>

namespace vx::recorder {

using EnvGetter = std::function<const char*(const char*)>;

// `userDirs` is the text of the desktop's user-dirs.dirs ("" when there is none); `isFolder`
// says whether a path is an existing folder.
std::string musicFolder(const EnvGetter& env, const std::string& userDirs,
                        const std::function<bool(const std::string&)>& isFolder);

// The same for this process: its environment and the user's own user-dirs.dirs.
std::string musicFolder();

}  // namespace vx::recorder
