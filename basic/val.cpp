#include "basic/convert.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vx::basic {
namespace {

// Walks the text the way Val does: blanks, tabs and line feeds are invisible everywhere.
class Scanner {
public:
    explicit Scanner(std::string_view s) : s_(s) {}

    char peek()
    {
        while (pos_ < s_.size() && isIgnored(s_[pos_]))
            ++pos_;
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    void skip() { ++pos_; }
    bool accept(char upper)
    {
        const char c = peek();
        if (c != upper && c != upper + ('a' - 'A'))
            return false;
        skip();
        return true;
    }

private:
    static bool isIgnored(char c) { return c == ' ' || c == '\t' || c == '\n'; }
    std::string_view s_;
    size_t pos_ = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int radixDigit(char c, int radix)
{
    int d = -1;
    if (isDigit(c))
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < radix ? d : -1;
}

// Values that fit 16 or 32 bits are read as signed integers of that width.
double twosComplement(double v)
{
    if (v <= 0xFFFF)
        return v > 0x7FFF ? v - 0x10000 : v;
    if (v <= 0xFFFFFFFFu)
        return v > 0x7FFFFFFF ? v - 4294967296.0 : v;
    return v;
}

double radixNumber(Scanner& in)
{
    int radix = 8;
    if (in.accept('H'))
        radix = 16;
    else
        in.accept('O');
    double v = 0;
    for (int d; (d = radixDigit(in.peek(), radix)) >= 0; in.skip())
        v = v * radix + d;
    return twosComplement(v);
}

void copyDigits(Scanner& in, std::string& out)
{
    for (; isDigit(in.peek()); in.skip())
        out += in.peek();
}

// Appends "e<sign><digits>" only when the exponent has at least one digit.
void copyExponent(Scanner& in, std::string& out)
{
    if (!in.accept('E') && !in.accept('D'))
        return;
    std::string exponent = "e";
    if (in.peek() == '-' || in.peek() == '+') {
        exponent += in.peek();
        in.skip();
    }
    const auto digitsAt = exponent.size();
    copyDigits(in, exponent);
    if (exponent.size() > digitsAt)
        out += exponent;
}

// from_chars reports a range error without a value; decide between overflow and underflow
// from the exponent's sign.
double outOfRange(const std::string& text)
{
    const auto e = text.find('e');
    const bool tiny = e != std::string::npos && e + 1 < text.size() && text[e + 1] == '-';
    const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    return text[0] == '-' ? -magnitude : magnitude;
}

double decimalNumber(Scanner& in)
{
    std::string text;
    if (in.peek() == '-' || in.peek() == '+') {
        if (in.peek() == '-')
            text += '-';
        in.skip();
    }
    const auto mantissaAt = text.size();
    copyDigits(in, text);
    if (in.peek() == '.') {
        text += '.';
        in.skip();
        copyDigits(in, text);
    }
    if (text.size() == mantissaAt || text.substr(mantissaAt) == ".")
        return 0;
    copyExponent(in, text);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range)
        return outOfRange(text);
    return v;
}

}  // namespace

double Val(std::string_view s)
{
    Scanner in(s);
    if (in.peek() == '&') {
        in.skip();
        return radixNumber(in);
    }
    return decimalNumber(in);
}

}  // namespace vx::basic
