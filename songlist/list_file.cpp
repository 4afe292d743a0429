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

// Room for every value and its line end, so that the text grows once.
size_t listFileSize(form::MainForm& form) {
  size_t size = 16;
  for (int deck = 0; deck < 2; ++deck) {
    const SongList list(form, deck);
    for (int c = 0; c < kColumns; ++c)
      for (const auto& item : list.column(static_cast<Column>(c)).items()) size += item.size() + 2;
  }
  return size;
}

}  // namespace

std::optional<ListFile> parseListFile(std::string_view bytes) {
  const std::string text = basic::decodeText(bytes);
  basic::LineSplitter in(text);
  const LineSource next = [&in](std::string& line) { return in.next(line); };
  ListFile file;
  for (auto& block : file) {
    auto read = readListBlock(next);
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
  text.reserve(listFileSize(form));
  const LineSink append = [&text](std::string_view line) {
    text += line;
    text += "\r\n";
  };
  for (int deck = 0; deck < 2; ++deck) writeListBlock(SongList(form, deck), append);
  return text;
}

bool writeListFile(const std::string& path, form::MainForm& form, std::string* error) {
  std::string text = listFileText(form);
  // Handed over as one line holding all the others: the writer adds the last line end itself,
  // and the file's lines are not copied a second time.
  text.resize(text.size() - 2);
  std::vector<std::string> lines;
  lines.push_back(std::move(text));
  return basic::writeTextLinesAtomic(path, lines, error);
}

}  // namespace vx::songlist
