#pragma once
// Decimal digits of a double, shared by Str and Format so that both see the same
// 15-significant-digit value before any display rounding.

#include <string>

namespace vx::basic::detail {

// value = 0.d1 d2 d3 ... x 10^point. digits has no leading or trailing zeros; it is empty
// for zero (point is then 0).
struct Decimal {
    std::string digits;
    int point = 0;
};

// magnitude must be finite and >= 0; the digits are rounded to `significant` places.
Decimal toDecimal(double magnitude, int significant);

// Keeps at most fractionDigits digits after the decimal point, rounding halves away from zero.
Decimal roundHalfAway(Decimal d, int fractionDigits);

// "Inf", "-Inf" or "NaN" with the sign handling of Str; empty for finite values.
std::string nonFiniteText(double v, bool blankForPositive);

}  // namespace vx::basic::detail
