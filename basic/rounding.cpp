#include "basic/convert.h"

#include <cmath>

namespace vx::basic {
namespace {

// Independent of the floating-point environment's rounding mode.
double roundHalfEven(double v)
{
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return std::round(v);
}

// NaN fails both comparisons and so overflows too.
double roundedInRange(double v, double low, double high)
{
    const double r = roundHalfEven(v);
    if (!(r >= low && r <= high))
        throw OverflowError();
    return r;
}

}  // namespace

int16_t CInt(double v)
{
    return static_cast<int16_t>(roundedInRange(v, -32768.0, 32767.0));
}

int32_t CLng(double v)
{
    return static_cast<int32_t>(roundedInRange(v, -2147483648.0, 2147483647.0));
}

double Int(double v)
{
    return std::floor(v);
}

double Fix(double v)
{
    return std::trunc(v);
}

}  // namespace vx::basic
