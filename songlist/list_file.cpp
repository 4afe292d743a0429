#include "songlist/list_file.h"

#include "basic/encoding.h"
#include "basic/fileio.h"
#include "basic/textfile.h"
#include "songlist/list_block.h"

namespace vx::songlist {
namespace {

// Hands out the lines of a file's bytes, decoded. Lines end with CR LF, LF or a lone CR; a
// final line without an end counts.
class ByteLines {
 public:
  explicit ByteLines(std::string_view bytes) : bytes_(withoutBom(bytes)), utf8_(basic::isValidUtf8(bytes_)) {}

  bool next(std::string& line) {
    if (at_ >= bytes_.size()) return false;
    size_t end = at_;
    while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    decode(bytes_.substr(at_, end - at_), line);
    at_ = end + (bytes_.substr(end, 2) == "\r\n" ? 2 : 1);
    return true;
  }

 private:
  static std::string_view withoutBom(std::string_view bytes) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(bom)) bytes.remove_prefix(bom.size());
    return bytes;
  }

  void decode(std::string_view raw, std::string& line) const {
    if (utf8_ || basic::isValidUtf8(raw))
      line.assign(raw);
    else
      line = basic::cp932ToUtf8(raw);
  }

  std::string_view bytes_;
  bool utf8_;
  size_t at_ = 0;
};

bool onlyBlankLinesLeft(ByteLines& in) {
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
  ByteLines in(bytes);
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
