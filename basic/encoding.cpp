#include "basic/encoding.h"

#include "basic/cpu.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vx::basic {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The allowed range of the second byte excludes overlongs, surrogates and values > U+10FFFF.
bool secondByteFits(unsigned char lead, unsigned char second)
{
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    return second >= low && second <= high;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence starting at i, 0 when none starts there.
size_t validSequenceAt(std::string_view bytes, size_t i)
{
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = sequenceLength(lead);
    if (length == 0 || i + length > bytes.size())
        return 0;
    if (length > 1 && !secondByteFits(lead, static_cast<unsigned char>(bytes[i + 1])))
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if (!isContinuation(static_cast<unsigned char>(bytes[i + k])))
            return 0;
    }
    return length;
}

std::string replaceNonAscii(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += kReplacement;
    }
    return out;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return cd_; }

private:
    iconv_t cd_;
};

// Whether the 64 bytes from p are all below 0x80.
bool isAscii64(const char* p)
{
#if defined(__SSE2__)
    __m128i any = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    for (int part = 1; part < 4; ++part)
        any = _mm_or_si128(any, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part)));
    return _mm_movemask_epi8(any) == 0;
#else
    uint64_t any = 0;
    for (int part = 0; part < 8; ++part) {
        uint64_t word;
        std::memcpy(&word, p + 8 * part, 8);
        any |= word;
    }
    return (any & 0x8080808080808080ULL) == 0;
#endif
}

}  // namespace

bool detail::isValidUtf8Bytewise(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        // Most text is ASCII: runs of it are passed over 64 or 8 bytes at a time without decoding.
        if (i + 64 <= bytes.size() && isAscii64(bytes.data() + i)) {
            i += 64;
            continue;
        }
        if (i + 8 <= bytes.size()) {
            uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = validSequenceAt(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool isValidUtf8(std::string_view bytes)
{
#if defined(__x86_64__)
    static const bool avx2 = cpuHasAvx2();
    if (avx2 && bytes.size() >= 64)
        return detail::isValidUtf8Avx2(bytes);
#endif
    return detail::isValidUtf8Bytewise(bytes);
}

std::string toValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = validSequenceAt(bytes, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes)
{
    Converter converter("UTF-8", "CP932");
    if (!converter.valid())
        return replaceNonAscii(bytes);
    std::string out;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t r = iconv(converter.handle(), &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<size_t>(o - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An undecodable or cut-off byte: replace it and go on with the next one.
            out += kReplacement;
            ++in;
            --inLeft;
            iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace vx::basic
