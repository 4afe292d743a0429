#include "basic/convert.h"
#include "basic/decimal.h"

#include <cmath>

namespace vx::basic {
namespace {

struct Pattern {
    size_t integerZeros = 0;
    size_t fractionZeros = 0;
    bool hasPoint = false;
};

Pattern parsePattern(std::string_view pattern)
{
    Pattern p;
    const auto point = pattern.find('.');
    p.hasPoint = point != std::string_view::npos;
    const auto integerPart = pattern.substr(0, point);
    const auto fractionPart = p.hasPoint ? pattern.substr(point + 1) : std::string_view{};
    const bool onlyZeros = integerPart.find_first_not_of('0') == std::string_view::npos &&
                           fractionPart.find_first_not_of('0') == std::string_view::npos;
    if (pattern.empty() || !onlyZeros)
        throw std::invalid_argument("unsupported number pattern: " + std::string(pattern));
    p.integerZeros = integerPart.size();
    p.fractionZeros = fractionPart.size();
    return p;
}

std::string integerDigits(const detail::Decimal& d, size_t minimum)
{
    std::string out;
    if (d.point > 0) {
        const auto whole = static_cast<size_t>(d.point);
        out = d.digits.substr(0, whole);
        out.append(whole - out.size(), '0');
    }
    if (out.size() < minimum)
        out.insert(0, minimum - out.size(), '0');
    return out;
}

std::string fractionDigits(const detail::Decimal& d, size_t count)
{
    std::string out;
    for (size_t k = 0; k < count; ++k) {
        const long at = d.point + static_cast<long>(k);
        const bool inside = at >= 0 && at < static_cast<long>(d.digits.size());
        out += inside ? d.digits[static_cast<size_t>(at)] : '0';
    }
    return out;
}

}  // namespace

std::string Format(double v, std::string_view pattern)
{
    const Pattern p = parsePattern(pattern);
    if (!std::isfinite(v))
        return detail::nonFiniteText(v, false);
    const auto d = detail::roundHalfAway(detail::toDecimal(std::fabs(v), 15),
                                         static_cast<int>(p.fractionZeros));
    std::string out = (v < 0 && !d.digits.empty()) ? "-" : "";
    out += integerDigits(d, p.integerZeros);
    if (p.hasPoint)
        out += "." + fractionDigits(d, p.fractionZeros);
    return out;
}

}  // namespace vx::basic
