#include "songlist/list_file.h"

#include "basic/fileio.h"
#include "basic/textfile.h"
#include "songlist/list_block.h"

namespace vx::songlist {
namespace {

bool onlyBlankLinesLeft(basic::LineSplitter& in) {
  std::string line;
  while (in.next(line))
    if (line.find_first_not_of(" \t") != std::string::npos) return false;
  return true;
}

}  // namespace

std::optional<ListFile> parseListFile(std::string_view bytes) {
  const auto text = std::make_shared<const std::string>(basic::decodeText(bytes));
  basic::LineSplitter in(*text);
  ListFile file;
  for (auto& block : file) {
    auto read = readListBlock(in, text);
    if (!read) return std::nullopt;
    block = std::move(*read);
  }
  if (!onlyBlankLinesLeft(in)) return std::nullopt;
  return file;
}

std::optional<ListFile> readListFile(const std::string& path) {
  std::string bytes, error;
  if (!basic::detail::readWholeFile(path, bytes, error)) return std::nullopt;
  return parseListFile(bytes);
}

std::string listFileText(form::MainForm& form) {
  std::string text;
  text.reserve(listBlockSize(SongList(form, 0)) + listBlockSize(SongList(form, 1)));
  for (int deck = 0; deck < 2; ++deck) writeListBlock(SongList(form, deck), text);
  return text;
}

bool writeListFile(const std::string& path, form::MainForm& form, std::string* error) {
  return basic::writeTextAtomic(path, listFileText(form), error);
}

}  // namespace vx::songlist
