#pragma once
// Skin folders on disk for tests: every picture a skin holds, as a bitmap header of a chosen size.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vx::test {

// A temporary folder removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Writes the header of a `width` x `height` Windows bitmap (enough for the size to be read).
void writeBitmapHeader(const std::filesystem::path& file, int width, int height);

// Creates root/skin holding every picture of the catalogue, 10 x 10 pixels unless `sizes` names
// another size, minus the files in `missing`.
void makeSkin(const std::filesystem::path& root, const std::string& skin,
              const std::map<std::string, std::pair<int, int>>& sizes = {},
              const std::vector<std::string>& missing = {});

}  // namespace vx::test
