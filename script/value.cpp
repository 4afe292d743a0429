#include "script/value.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace vx::script {

Value Value::text(std::string s) {
  Value v(Kind::Text);
  v.text_ = std::move(s);
  return v;
}

Value Value::boolean(bool b) {
  Value v(Kind::Boolean);
  v.boolean_ = b;
  return v;
}

Value Value::integer(long long i) {
  Value v(Kind::Integer);
  v.integer_ = i;
  return v;
}

Value Value::real(double d) {
  Value v(Kind::Real);
  v.real_ = d;
  return v;
}

Value Value::unavailable() { return Value(Kind::Unavailable); }

std::string formatReal(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d < 0 ? "-Inf" : "Inf";
  if (d == 0) return "0";  // also -0
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", d);
  return buffer;
}

std::string quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c == '"' || c == '\\') out += {'\\', c};
    else out += c;
  }
  return out + "\"";
}

std::string Value::print() const {
  switch (kind_) {
    case Kind::Text: return quote(text_);
    case Kind::Boolean: return boolean_ ? "True" : "False";
    case Kind::Integer: return std::to_string(integer_);
    case Kind::Real: return formatReal(real_);
    case Kind::Unavailable: return "not available";
  }
  return "";
}

namespace {

// The whole word as a number; false when anything but a number is written.
bool parseNumber(const std::string& s, double& out) {
  if (s.empty() || std::isspace(static_cast<unsigned char>(s.front()))) return false;
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

bool numbersMatch(double actual, const std::string& expected) {
  double e = 0;
  if (!parseNumber(expected, e)) return false;
  if (std::isnan(actual) || std::isnan(e)) return std::isnan(actual) && std::isnan(e);
  if (actual == e) return true;  // also equal infinities
  double scale = std::max({std::fabs(actual), std::fabs(e), 1.0});
  return std::fabs(actual - e) <= 1e-9 * scale;
}

}  // namespace

bool matches(const Value& actual, const Expected& expected) {
  switch (actual.kind()) {
    case Value::Kind::Text: return actual.textValue() == expected.text;
    case Value::Kind::Boolean:
      return strcasecmp(expected.text.c_str(), actual.booleanValue() ? "True" : "False") == 0;
    case Value::Kind::Integer:
    case Value::Kind::Real: return numbersMatch(actual.number(), expected.text);
    case Value::Kind::Unavailable: return expected.text == "not available";
  }
  return false;
}

}  // namespace vx::script
