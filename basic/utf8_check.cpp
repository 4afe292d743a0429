// UTF-8 validation 32 bytes at a time for processors with AVX2, after the method of Keiser and
// Lemire ("Validating UTF-8 in less than one instruction per byte"): each byte is judged with
// the one or three before it through three 16-entry tables of error bits, indexed by the high
// and low halves of the byte before and the high half of the byte itself. A settings file of
// Japanese song names is about a third non-ASCII; the byte by byte check took longer than
// reading the file.
#include <cstdint>
#include <cstring>
#include <string_view>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "basic/encoding.h"

namespace vx::basic::detail {

#if defined(__x86_64__)
namespace {

// Error bits: each names a fault that a pair of bytes can show.
constexpr uint8_t kTooShort = 1 << 0;   // a lead or ASCII where a continuation must be
constexpr uint8_t kTooLong = 1 << 1;    // a continuation after ASCII
constexpr uint8_t kOverlong3 = 1 << 2;  // E0 80..9F
constexpr uint8_t kTooLarge = 1 << 3;   // F4 90.. and F5..FF
constexpr uint8_t kSurrogate = 1 << 4;  // ED A0..BF
constexpr uint8_t kOverlong2 = 1 << 5;  // C0, C1
constexpr uint8_t kTooLarge1000 = 1 << 6;
constexpr uint8_t kOverlong4 = 1 << 6;  // F0 80..8F
constexpr uint8_t kTwoConts = 1 << 7;   // a continuation after a continuation: fine only inside a sequence
constexpr uint8_t kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("avx2"))) inline __m256i table(const uint8_t (&t)[16]) {
  __m128i half;
  std::memcpy(&half, t, 16);
  return _mm256_broadcastsi128_si256(half);
}

__attribute__((target("avx2"))) inline __m256i highNibbles(__m256i v) {
  return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F));
}

// The block as it would be read 1, 2 or 3 bytes earlier: the last bytes of `before`, then the
// block's first ones.
__attribute__((target("avx2"))) inline __m256i straddle(__m256i block, __m256i before) {
  return _mm256_permute2x128_si256(before, block, 0x21);
}
__attribute__((target("avx2"))) inline __m256i oneEarlier(__m256i block, __m256i before) {
  return _mm256_alignr_epi8(block, straddle(block, before), 15);
}
__attribute__((target("avx2"))) inline __m256i twoEarlier(__m256i block, __m256i before) {
  return _mm256_alignr_epi8(block, straddle(block, before), 14);
}
__attribute__((target("avx2"))) inline __m256i threeEarlier(__m256i block, __m256i before) {
  return _mm256_alignr_epi8(block, straddle(block, before), 13);
}

// What the check has seen so far. All zero to start.
struct Avx2State {
  __m256i error, previous;
  __m256i incomplete;  // the previous block ends inside a sequence
};

__attribute__((target("avx2"))) inline void checkBlock(__m256i input, Avx2State& s) {
  if (_mm256_movemask_epi8(input) == 0) {  // ASCII: only an unfinished sequence before it can be wrong
    s.error = _mm256_or_si256(s.error, s.incomplete);
    s.incomplete = _mm256_setzero_si256();
    s.previous = input;
    return;
  }
  static constexpr uint8_t kByte1High[16] = {
      kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
      kTwoConts, kTwoConts, kTwoConts, kTwoConts,
      kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
      kTooShort | kTooLarge | kTooLarge1000 | kOverlong4};
  static constexpr uint8_t kByte1Low[16] = {
      kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
      kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
      kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
      kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
      kCarry | kTooLarge | kTooLarge1000 | kSurrogate, kCarry | kTooLarge | kTooLarge1000,
      kCarry | kTooLarge | kTooLarge1000};
  static constexpr uint8_t kByte2High[16] = {
      kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
      kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4,
      kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge,
      kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
      kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge,
      kTooShort, kTooShort, kTooShort, kTooShort};
  const __m256i prev1 = oneEarlier(input, s.previous);
  const __m256i special = _mm256_and_si256(
      _mm256_and_si256(_mm256_shuffle_epi8(table(kByte1High), highNibbles(prev1)),
                       _mm256_shuffle_epi8(table(kByte1Low), _mm256_and_si256(prev1, _mm256_set1_epi8(0x0F)))),
      _mm256_shuffle_epi8(table(kByte2High), highNibbles(input)));
  // Two continuations in a row are right only as the third or fourth byte of a sequence.
  const __m256i third = _mm256_subs_epu8(twoEarlier(input, s.previous), _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
  const __m256i fourth = _mm256_subs_epu8(threeEarlier(input, s.previous), _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
  const __m256i mustContinue = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
  s.error = _mm256_or_si256(s.error, _mm256_xor_si256(mustContinue, special));
  // A lead among the last three bytes, whose sequence the next block must finish.
  const __m256i lastLeads = _mm256_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                             -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, static_cast<char>(0xF0 - 1),
                                             static_cast<char>(0xE0 - 1), static_cast<char>(0xC0 - 1));
  s.incomplete = _mm256_subs_epu8(input, lastLeads);
  s.previous = input;
}

}  // namespace

__attribute__((target("avx2"), flatten)) bool isValidUtf8Avx2(std::string_view bytes) {
  Avx2State s{_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
  size_t at = 0;
  for (; at + 32 <= bytes.size(); at += 32)
    checkBlock(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes.data() + at)), s);
  if (at < bytes.size()) {
    char tail[32] = {};  // ASCII padding ends nothing and starts nothing
    std::memcpy(tail, bytes.data() + at, bytes.size() - at);
    checkBlock(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(tail)), s);
  }
  return _mm256_testz_si256(s.error, s.error) && _mm256_testz_si256(s.incomplete, s.incomplete);
}
#endif

}  // namespace vx::basic::detail
