#pragma once
// Byte-level text encodings met in the program's own files.

#include <string>
#include <string_view>

namespace vx::basic {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequence.
bool isValidUtf8(std::string_view bytes);

// The bytes with every byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string toValidUtf8(std::string_view bytes);

// CP932 (the Japanese Windows code page) to UTF-8. Bytes that do not decode, and every
// non-ASCII byte if the converter is unavailable, become U+FFFD; never fails.
std::string cp932ToUtf8(std::string_view bytes);

namespace detail {
// The two ways isValidUtf8 judges: byte by byte, and 32 bytes at a time on processors with
// AVX2 (cpuHasAvx2() must hold). They must always agree.
bool isValidUtf8Bytewise(std::string_view bytes);
#if defined(__x86_64__)
bool isValidUtf8Avx2(std::string_view bytes);
#endif
}  // namespace detail

}  // namespace vx::basic
