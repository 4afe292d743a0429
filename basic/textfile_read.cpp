#include "basic/encoding.h"
#include "basic/fileio.h"
#include "basic/textfile.h"

namespace vx::basic {
namespace {

std::string_view withoutBom(std::string_view bytes)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(bom))
        bytes.remove_prefix(bom.size());
    return bytes;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    LineSplitter in(text);
    for (std::string line; in.next(line);)
        lines.push_back(std::move(line));
    return lines;
}

}  // namespace

std::string decodeText(std::string_view bytes, bool* wasLegacyEncoding)
{
    const std::string_view content = withoutBom(bytes);
    const bool utf8 = isValidUtf8(content);
    if (wasLegacyEncoding)
        *wasLegacyEncoding = !utf8;
    return utf8 ? std::string(content) : cp932ToUtf8(content);
}

bool LineSplitter::next(std::string& line)
{
    if (at_ >= text_.size()) {
        line.clear();
        return false;
    }
    size_t end = at_;
    while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n')
        ++end;
    line.assign(text_.substr(at_, end - at_));
    at_ = end + (text_.substr(end, 2) == "\r\n" ? 2 : 1);
    return true;
}

TextReadResult readTextLines(const std::string& path)
{
    TextReadResult result;
    std::string bytes;
    if (!detail::readWholeFile(path, bytes, result.error))
        return result;
    result.lines = splitLines(decodeText(bytes, &result.wasLegacyEncoding));
    result.ok = true;
    return result;
}

TextLineReader::TextLineReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}

TextLineReader::TextLineReader(TextReadResult result)
    : lines_(result.ok ? std::move(result.lines) : std::vector<std::string>{})
{
}

bool TextLineReader::next(std::string& line)
{
    if (atEnd()) {
        line.clear();
        return false;
    }
    // Each line is handed out once, so it can be moved out.
    line = std::move(lines_[index_++]);
    return true;
}

}  // namespace vx::basic
