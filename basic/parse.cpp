#include "basic/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vx::basic {
namespace {

std::string_view trimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// A whole finite decimal number such as "-1", "0.5" or "1e3", nothing around it.
std::optional<double> strictNumber(std::string_view s)
{
    const bool hasSign = !s.empty() && (s[0] == '+' || s[0] == '-');
    const auto body = hasSign ? s.substr(1) : s;
    if (!s.empty() && s[0] == '+')
        s.remove_prefix(1);  // from_chars takes '-' only
    const bool startsWell = !body.empty() && (body[0] == '.' || (body[0] >= '0' && body[0] <= '9'));
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (!startsWell || ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

}  // namespace

bool CBool(std::string_view s, bool& ok)
{
    s = trimBlanks(s);
    ok = true;
    if (equalsIgnoringCase(s, "true"))
        return true;
    if (equalsIgnoringCase(s, "false"))
        return false;
    const auto number = strictNumber(s);
    ok = number.has_value();
    return ok && *number != 0.0;
}

std::string BoolText(bool b)
{
    return b ? "True" : "False";
}

std::optional<long long> ParseInteger(std::string_view s)
{
    s = trimBlanks(s);
    const bool negative = !s.empty() && s[0] == '-';
    const auto digits = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? s.substr(1) : s;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    // Keep the '-' so that the most negative value still fits.
    const auto text = negative ? s : digits;
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{})
        return std::nullopt;
    return v;
}

}  // namespace vx::basic
