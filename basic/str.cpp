#include "basic/convert.h"
#include "basic/decimal.h"

#include <cmath>
#include <cstdlib>

namespace vx::basic {
namespace {

using detail::Decimal;

std::string scientific(const Decimal& d)
{
    std::string out(1, d.digits[0]);
    if (d.digits.size() > 1)
        out += "." + d.digits.substr(1);
    const int exponent = d.point - 1;
    out += exponent < 0 ? "E-" : "E+";
    if (std::abs(exponent) < 10)
        out += '0';
    out += std::to_string(std::abs(exponent));
    return out;
}

// Classic style: no 0 before the point of a value below 1.
std::string fixed(const Decimal& d)
{
    const auto size = static_cast<int>(d.digits.size());
    if (d.point <= 0)
        return "." + std::string(static_cast<size_t>(-d.point), '0') + d.digits;
    if (d.point >= size)
        return d.digits + std::string(static_cast<size_t>(d.point - size), '0');
    return d.digits.substr(0, static_cast<size_t>(d.point)) + "." +
           d.digits.substr(static_cast<size_t>(d.point));
}

std::string magnitudeText(double v, int significant)
{
    const Decimal d = detail::toDecimal(std::fabs(v), significant);
    if (d.digits.empty())
        return "0";
    const int exponent = d.point - 1;
    if (exponent < -4 || exponent >= significant)
        return scientific(d);
    return fixed(d);
}

std::string numberText(double v, int significant, bool blankForPositive)
{
    if (!std::isfinite(v))
        return detail::nonFiniteText(v, blankForPositive);
    std::string sign = v < 0 ? "-" : (blankForPositive ? " " : "");
    return sign + magnitudeText(v, significant);
}

}  // namespace

std::string Str(double v)
{
    return numberText(v, 15, true);
}

std::string StrSingle(float v)
{
    return numberText(static_cast<double>(v), 7, true);
}

std::string CStr(double v)
{
    return numberText(v, 15, false);
}

}  // namespace vx::basic
