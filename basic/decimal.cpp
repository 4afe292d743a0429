#include "basic/decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vx::basic::detail {
namespace {

void stripTrailingZeros(Decimal& d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.point = 0;
}

// Adds one unit in the last place of the digits; a carry out of the first digit moves the point.
void incrementLast(Decimal& d)
{
    for (auto i = d.digits.size(); i-- > 0;) {
        if (d.digits[i] != '9') {
            ++d.digits[i];
            return;
        }
        d.digits[i] = '0';
    }
    d.digits.insert(d.digits.begin(), '1');
    ++d.point;
}

}  // namespace

Decimal toDecimal(double magnitude, int significant)
{
    Decimal d;
    if (magnitude == 0.0)
        return d;
    // printf rounds the exact binary value correctly and is not affected by LC_NUMERIC for
    // the exponent form's digits; only the point character may vary, and it is skipped.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, magnitude);
    const char* p = buf;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    }
    d.point = std::atoi(p + 1) + 1;
    stripTrailingZeros(d);
    return d;
}

Decimal roundHalfAway(Decimal d, int fractionDigits)
{
    const long keep = static_cast<long>(d.point) + fractionDigits;
    if (keep >= static_cast<long>(d.digits.size()))
        return d;
    if (keep < 0)
        return {};
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (up)
        incrementLast(d);
    stripTrailingZeros(d);
    return d;
}

std::string nonFiniteText(double v, bool blankForPositive)
{
    if (std::isnan(v))
        return blankForPositive ? " NaN" : "NaN";
    if (!std::isinf(v))
        return {};
    if (v < 0)
        return "-Inf";
    return blankForPositive ? " Inf" : "Inf";
}

}  // namespace vx::basic::detail
