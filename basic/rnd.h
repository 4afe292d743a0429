#pragma once
// The classic pseudo-random sequence as it runs when the program never seeds it: every start
// of the program sees the same numbers in the same order.

#include <cstdint>

namespace vx::basic {

class Rnd {
public:
    // Next number in [0, 1); a multiple of 2^-24, exact as a float.
    float next();
    // Back to the state of a program that has just started.
    void reset();

private:
    static constexpr uint32_t kInitialState = 0x50000;
    uint32_t state_ = kInitialState;
};

}  // namespace vx::basic
