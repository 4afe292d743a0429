#include <algorithm>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

uint64_t detail::lineEndMask(std::string_view text, size_t at)
{
    uint64_t mask = 0;
    if (at + 64 <= text.size()) {
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (int part = 0; part < 4; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at + 16 * part));
            const auto hits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr))));
            mask |= uint64_t{hits} << (16 * part);
        }
        return mask;
#endif
    }
    const size_t stop = std::min(text.size(), at + 64);
    for (size_t i = at; i < stop; ++i)
        if (text[i] == '\n' || text[i] == '\r')
            mask |= uint64_t{1} << (i - at);
    return mask;
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
