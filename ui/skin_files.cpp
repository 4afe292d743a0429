#include "ui/skin_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

namespace vx::ui {

namespace fs = std::filesystem;

namespace {

bool isFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

uint32_t le(const unsigned char* b, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[i];
  return v;
}

// BITMAPFILEHEADER (14 bytes) then the info header: its own size first, then the dimensions,
// 16-bit in the old core header and 32-bit (height negative for top-down) in all later ones.
std::optional<PictureSize> bitmapSize(const unsigned char* b, size_t n) {
  if (n < 26 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  uint32_t headerSize = le(b + 14, 4);
  PictureSize s;
  if (headerSize == 12) {
    s.width = static_cast<int>(le(b + 18, 2));
    s.height = static_cast<int>(le(b + 20, 2));
  } else if (headerSize >= 40 && n >= 26) {
    s.width = static_cast<int32_t>(le(b + 18, 4));
    s.height = std::abs(static_cast<int32_t>(le(b + 22, 4)));
  } else {
    return std::nullopt;
  }
  if (s.width <= 0 || s.height <= 0 || s.width > 30000 || s.height > 30000) return std::nullopt;
  return s;
}

// ICONDIR (reserved 0, type 1, count) then 16-byte entries; a size byte of 0 means 256.
std::optional<PictureSize> iconSize(const unsigned char* b, size_t n) {
  if (n < 22 || le(b, 2) != 0 || le(b + 2, 2) != 1 || le(b + 4, 2) == 0) return std::nullopt;
  PictureSize s{b[6] == 0 ? 256 : b[6], b[7] == 0 ? 256 : b[7]};
  return s;
}

}  // namespace

std::vector<std::string> skinRoots(const std::string& homeDir, const std::string& exeDir, const std::string& shareDir) {
  std::vector<std::string> roots;
  auto add = [&roots](const std::string& base, const char* sub) {
    if (base.empty()) return;
    std::string root = (fs::path(base) / sub).lexically_normal().string();
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
  };
  add(homeDir, "picture");
  add(exeDir, "picture");
  add(shareDir, "picture");
  return roots;
}

std::string findSkinFolder(const std::vector<std::string>& roots, const std::string& skin) {
  if (skin.empty() || skin == "." || skin == ".." || skin.find('/') != std::string::npos) return "";
  for (const std::string& root : roots) {
    std::string folder = (fs::path(root) / skin).string();
    if (isFolder(folder)) return folder;
  }
  return "";
}

std::string skinFolder(const Program& p) { return findSkinFolder(p.skin.roots, p.settings.skinName); }

std::vector<std::string> listSkins(const std::vector<std::string>& roots) {
  std::set<std::string> names;
  for (const std::string& root : roots) {
    std::error_code ec;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
      std::string name = it->path().filename().string();
      if (!name.empty() && name[0] != '.' && isFolder(it->path().string())) names.insert(name);
    }
  }
  return {names.begin(), names.end()};
}

std::optional<PictureSize> readPictureSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  unsigned char b[26] = {};
  in.read(reinterpret_cast<char*>(b), sizeof b);
  size_t n = static_cast<size_t>(in.gcount());
  if (auto s = bitmapSize(b, n)) return s;
  return iconSize(b, n);
}

}  // namespace vx::ui
