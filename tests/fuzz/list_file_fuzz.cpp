// Feeds arbitrary bytes to the list-file reader. Whatever it accepts must hold, per deck, seven
// columns of one length within the list limit; anything else is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "songlist/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto file = vx::songlist::parseListFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!file) return 0;
  for (const auto& block : *file) {
    const size_t n = block[vx::songlist::Path].size();
    if (n > static_cast<size_t>(vx::songlist::kMaxSongs)) std::abort();
    for (const auto& column : block)
      if (column.size() != n) std::abort();
  }
  return 0;
}
