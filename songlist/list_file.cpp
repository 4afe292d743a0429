#include "songlist/list_file.h"

#include "basic/encoding.h"
#include "basic/fileio.h"
#include "basic/textfile.h"
#include "songlist/list_block.h"

namespace vx::songlist {
namespace {

std::string decodedLine(std::string_view raw, bool wholeFileUtf8) {
  if (wholeFileUtf8 || basic::isValidUtf8(raw)) return std::string(raw);
  return basic::cp932ToUtf8(raw);
}

// Lines end with CR LF, LF or a lone CR; a final line without an end counts.
std::vector<std::string> decodeLines(std::string_view bytes) {
  constexpr std::string_view bom = "\xEF\xBB\xBF";
  if (bytes.starts_with(bom)) bytes.remove_prefix(bom.size());
  const bool utf8 = basic::isValidUtf8(bytes);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    lines.push_back(decodedLine(bytes.substr(start, i - start), utf8));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.push_back(decodedLine(bytes.substr(start), utf8));
  return lines;
}

bool onlyBlankLinesLeft(basic::TextLineReader& in) {
  std::string line;
  while (in.next(line))
    if (line.find_first_not_of(" \t") != std::string::npos) return false;
  return true;
}

}  // namespace

std::optional<ListFile> parseListFile(std::string_view bytes) {
  basic::TextLineReader in(decodeLines(bytes));
  ListFile file;
  for (auto& block : file) {
    auto read = readListBlock(in);
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

std::vector<std::string> listFileLines(form::MainForm& form) {
  std::vector<std::string> lines;
  for (int deck = 0; deck < 2; ++deck) writeListBlock(SongList(form, deck), lines);
  return lines;
}

bool writeListFile(const std::string& path, form::MainForm& form, std::string* error) {
  return basic::writeTextLinesAtomic(path, listFileLines(form), error);
}

}  // namespace vx::songlist
