#pragma once
#include <cstdint>

namespace vx::basic {

// A line's place in its text: where it starts and how long it is, without its line end.
struct LineSpan {
    uint32_t at = 0, size = 0;
};

}  // namespace vx::basic
