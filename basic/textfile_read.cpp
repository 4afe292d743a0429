#include <algorithm>
#include <cstdint>
#include <cstring>

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

std::string decodeText(std::string&& bytes, bool* wasLegacyEncoding)
{
    const std::string_view content = withoutBom(bytes);
    const bool utf8 = isValidUtf8(content);
    if (wasLegacyEncoding)
        *wasLegacyEncoding = !utf8;
    if (!utf8)
        return cp932ToUtf8(content);
    bytes.erase(0, bytes.size() - content.size());
    return std::move(bytes);
}

bool LineSplitter::next(std::string& line)
{
    std::string_view view;
    const bool more = next(view);
    line.assign(view);
    return more;
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

}  // namespace vx::basic
