#pragma once
// Text as the old Windows program wrote it: CP932 bytes, made with the system converter so that
// the tests do not share the reader's own decoding.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace vx::test {

inline std::string toCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "no CP932 converter";
    return {};
  }
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t oLeft = out.size();
  if (iconv(cd, &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1)) ADD_FAILURE() << "not CP932: " << utf8;
  out.resize(out.size() - oLeft);
  iconv_close(cd);
  return out;
}

}  // namespace vx::test
