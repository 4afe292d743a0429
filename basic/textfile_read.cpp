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
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace

TextReadResult decodeTextLines(std::string_view bytes)
{
    TextReadResult result;
    const std::string_view content = withoutBom(bytes);
    if (isValidUtf8(content)) {
        result.lines = splitLines(content);
    } else {
        result.wasLegacyEncoding = true;
        result.lines = splitLines(cp932ToUtf8(content));
    }
    result.ok = true;
    return result;
}

TextReadResult readTextLines(const std::string& path)
{
    std::string bytes, error;
    if (!detail::readWholeFile(path, bytes, error)) {
        TextReadResult failed;
        failed.error = std::move(error);
        return failed;
    }
    return decodeTextLines(bytes);
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
    line = lines_[index_++];
    return true;
}

}  // namespace vx::basic
