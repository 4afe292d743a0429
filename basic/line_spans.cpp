// Finding line ends 64 bytes at a time, for the line by line splitting and for splitting in bulk:
// the settings file's song lists are close to half a million lines, and this is most of the
// time it takes to read them.
#include <bit>
#include <cstdint>
#include <vector>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "basic/cpu.h"
#include "basic/textfile.h"

namespace vx::basic {
namespace {

// The CR and LF bytes among the 64 bytes from p, one bit each. p must have 64 readable bytes.
struct ByteMasks {
    uint64_t cr = 0, lf = 0;
};

inline ByteMasks crLfMasksPortable(const char* p)
{
    ByteMasks m;
    for (unsigned i = 0; i < 64; ++i) {
        m.cr |= uint64_t{p[i] == '\r'} << i;
        m.lf |= uint64_t{p[i] == '\n'} << i;
    }
    return m;
}

#if defined(__x86_64__)
inline ByteMasks crLfMasksSse2(const char* p)
{
    ByteMasks m;
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        m.cr |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr)))} << (16 * part);
        m.lf |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)))} << (16 * part);
    }
    return m;
}

__attribute__((target("avx2"))) inline uint64_t equalMaskAvx2(__m256i low, __m256i high, char c)
{
    const __m256i wanted = _mm256_set1_epi8(c);
    const auto lo = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, wanted)));
    const auto hi = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, wanted)));
    return uint64_t{lo} | uint64_t{hi} << 32;
}

__attribute__((target("avx2"))) inline ByteMasks crLfMasksAvx2(const char* p)
{
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {equalMaskAvx2(low, high, '\r'), equalMaskAvx2(low, high, '\n')};
}
#endif

// The line ends among 64 bytes: a bit for the first byte of each line end (CR, LF, or the CR
// of CR LF) and a bit for each CR followed by LF, whose line end is two bytes long. The LF of
// a CR LF has no bit of its own.
struct LineEnds {
    uint64_t first = 0, pair = 0;
};

// The CR and LF bytes among the 64 bytes of text from at; bytes past its end have none.
template <ByteMasks (*masks)(const char*)>
inline ByteMasks masksAt(std::string_view text, size_t at)
{
    if (at + 64 <= text.size())
        return masks(text.data() + at);
    char tail[64] = {};
    text.copy(tail, text.size() - at, at);
    return crLfMasksPortable(tail);
}

template <ByteMasks (*masks)(const char*)>
inline LineEnds lineEndsAt(std::string_view text, size_t at)
{
    const ByteMasks m = masksAt<masks>(text, at);
    const bool lfNext = at + 64 < text.size() && text[at + 64] == '\n';
    LineEnds ends;
    ends.pair = m.cr & ((m.lf >> 1) | (uint64_t{lfNext} << 63));
    ends.first = (m.cr | m.lf) & ~(ends.pair << 1);
    return ends;
}

// Walks the line ends 64 bytes at a time, bit by bit: a line costs a few instructions and no
// search. A CR LF split across two pieces is one line end: its LF lies before the next line's
// start and so is never taken. Requires text.size() <= UINT32_MAX.
template <ByteMasks (*masks)(const char*)>
inline detail::SplitResult splitSpans(std::string_view text, size_t start, LineSpan* out, size_t n)
{
    const size_t size = text.size();
    size_t taken = 0;
    for (size_t base = start & ~size_t{63}; taken < n && start < size; base += 64) {
        const LineEnds ends = lineEndsAt<masks>(text, base);
        uint64_t first = start > base ? ends.first & (~uint64_t{0} << (start - base)) : ends.first;
        const auto take = [&](unsigned bit) {
            const size_t end = base + bit;
            out[taken++] = {static_cast<uint32_t>(start), static_cast<uint32_t>(end - start)};
            start = end + 1 + ((ends.pair >> bit) & 1);
        };
        if (n - taken >= 64) {
            // Room for every line the piece can end: no count to watch.
            for (; first != 0; first &= first - 1)
                take(static_cast<unsigned>(std::countr_zero(first)));
        } else {
            for (; first != 0 && taken < n; first &= first - 1)
                take(static_cast<unsigned>(std::countr_zero(first)));
        }
        if (base + 64 >= size && start < size && taken < n) {
            out[taken++] = {static_cast<uint32_t>(start), static_cast<uint32_t>(size - start)};
            start = size;
        }
    }
    return {taken, start};
}

detail::SplitResult splitSpansPortable(std::string_view text, size_t start, LineSpan* out, size_t n)
{
    return splitSpans<crLfMasksPortable>(text, start, out, n);
}

#if defined(__x86_64__)
__attribute__((flatten)) detail::SplitResult splitSpansSse2(std::string_view text, size_t start, LineSpan* out,
                                                            size_t n)
{
    return splitSpans<crLfMasksSse2>(text, start, out, n);
}

// The same compiled for processors with AVX2 and the bit instructions (tzcnt, blsr): about a
// third faster on the settings file. Flattened, so the masks are computed inline.
__attribute__((target("avx2,bmi,bmi2,popcnt"), flatten)) detail::SplitResult splitSpansAvx2(
    std::string_view text, size_t start, LineSpan* out, size_t n)
{
    return splitSpans<crLfMasksAvx2>(text, start, out, n);
}
#endif

std::vector<detail::SplitKernel> availableKernels()
{
    std::vector<detail::SplitKernel> kernels;
#if defined(__x86_64__)
    if (cpuHasAvx2())
        kernels.push_back(splitSpansAvx2);
    kernels.push_back(splitSpansSse2);
#endif
    kernels.push_back(splitSpansPortable);
    return kernels;
}

}  // namespace

uint64_t detail::lineEndMask(std::string_view text, size_t at)
{
#if defined(__x86_64__)
    const ByteMasks m = masksAt<crLfMasksSse2>(text, at);
#else
    const ByteMasks m = masksAt<crLfMasksPortable>(text, at);
#endif
    return m.cr | m.lf;
}

size_t countLineEndBytes(std::string_view text)
{
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at += 64)
        count += static_cast<size_t>(std::popcount(detail::lineEndMask(text, at)));
    return count;
}

const std::vector<detail::SplitKernel>& detail::splitKernels()
{
    static const std::vector<SplitKernel> kernels = availableKernels();
    return kernels;
}

size_t LineSplitter::nextSpans(LineSpan* out, size_t n)
{
    if (text_.size() > UINT32_MAX)
        return 0;
    static const detail::SplitKernel split = detail::splitKernels().front();
    const detail::SplitResult done = split(text_, at_, out, n);
    at_ = done.next;
    return done.taken;
}

}  // namespace vx::basic
