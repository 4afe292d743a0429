#pragma once
#include <cstdint>

namespace vx::basic {

// A line's place in its text: where it starts and how long it is, without its line end.
// Plain data with no initial value, so that half a million of them can be made in place and
// written once; make them with braces.
struct LineSpan {
    uint32_t at, size;
};

}  // namespace vx::basic
