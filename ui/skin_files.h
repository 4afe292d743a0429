#pragma once
// Finding skins and reading the size of their pictures. A skin is a folder of pictures under one
// of the skin roots; the first root that holds a folder of the skin's name wins, so a skin in the
// user's home folder hides an installed one of the same name.
#include <optional>
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::ui {

inline constexpr double kTwipsPerPixel = 15;

// The skin roots in search order: the home folder's "picture", then "picture" beside the
// executable, then the installation's share folder. Empty folders are left out; duplicates too.
std::vector<std::string> skinRoots(const std::string& homeDir, const std::string& exeDir, const std::string& shareDir);

// The folder of `skin` under the first root that holds it; "" when none does.
std::string findSkinFolder(const std::vector<std::string>& roots, const std::string& skin);
// The folder of the current skin (`skinName`).
std::string skinFolder(const Program& p);

// Every skin name found under the roots, each once, sorted by name.
std::vector<std::string> listSkins(const std::vector<std::string>& roots);

struct PictureSize {
  int width = 0;  // pixels
  int height = 0;
};
// The size of a Windows bitmap (.bmp) or icon (.ico, its first image) read from the file's
// header; nullopt when the file is missing, unreadable or not such a picture.
std::optional<PictureSize> readPictureSize(const std::string& path);

}  // namespace vx::ui
