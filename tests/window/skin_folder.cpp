#include "tests/window/skin_folder.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <unistd.h>

#include "ui/skin_catalogue.h"

namespace vx::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("velvox-window-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

namespace {

void put(std::string& b, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

}  // namespace

void writeBitmapHeader(const fs::path& file, int width, int height) {
  std::string b = "BM";
  put(b, 54, 4);  // file size: the header only
  put(b, 0, 4);
  put(b, 54, 4);
  put(b, 40, 4);
  put(b, static_cast<uint32_t>(width), 4);
  put(b, static_cast<uint32_t>(height), 4);
  put(b, 1, 2);
  put(b, 24, 2);
  b.resize(54, '\0');
  std::ofstream(file, std::ios::binary) << b;
}

void makeSkin(const fs::path& root, const std::string& skin, const std::map<std::string, std::pair<int, int>>& sizes,
              const std::vector<std::string>& missing) {
  fs::path folder = root / skin;
  fs::create_directories(folder);
  for (const std::string& name : ui::skinPictureNames()) {
    if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
    auto size = sizes.count(name) ? sizes.at(name) : std::make_pair(10, 10);
    if (name.ends_with(".ico")) {
      std::string b;
      put(b, 0, 2);
      put(b, 1, 2);
      put(b, 1, 2);
      b.push_back(static_cast<char>(size.first));
      b.push_back(static_cast<char>(size.second));
      b.resize(22, '\0');
      std::ofstream(folder / name, std::ios::binary) << b;
    } else {
      writeBitmapHeader(folder / name, size.first, size.second);
    }
  }
}

}  // namespace vx::test
