#include "basic/rnd.h"

namespace vx::basic {

float Rnd::next()
{
    // 24-bit linear congruential step; the wrap of the 32-bit product is harmless because
    // only the low 24 bits are kept.
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<float>(state_) / 16777216.0f;
}

void Rnd::reset()
{
    state_ = kInitialState;
}

}  // namespace vx::basic
