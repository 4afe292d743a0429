#include "midi/takeover.h"

#include <cmath>

namespace vx::midi {

bool SoftTakeover::accept(double value, double window)
{
    if (engaged_ && applied_ && std::abs(window - *applied_) > 1e-9)
        engaged_ = false;
    if (!engaged_) {
        const bool near = std::abs(value - window) <= kNear;
        const bool crossed = previous_ && (*previous_ - window) * (value - window) <= 0 &&
                             std::abs(value - *previous_) <= kSmallStep;
        engaged_ = near || crossed;
        if (engaged_)
            applied_.reset();
    }
    previous_ = value;
    return engaged_;
}

}  // namespace vx::midi
