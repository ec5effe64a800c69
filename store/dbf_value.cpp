#include "store/dbf_value.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kpr {
namespace {

// Rounds the decimal digit string of |value| to `decimals` places, half away
// from zero, working on the shortest round-trip text so that values typed as
// decimals round the way they read.
std::string RoundedDecimal(double value, int decimals) {
  char buf[400];  // fixed notation of the largest double needs 309 digits
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
  if (res.ec != std::errc()) return std::string(400, '9');  // never fits a field
  std::string s(buf, res.ptr);
  auto dot = s.find('.');
  std::string ip = dot == std::string::npos ? s : s.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : s.substr(dot + 1);
  const bool round_up = fp.size() > static_cast<size_t>(decimals) && fp[decimals] >= '5';
  fp.resize(decimals, '0');
  std::string digits = ip + fp;
  if (round_up) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i < 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[i];
    }
  }
  ip = digits.substr(0, digits.size() - decimals);
  fp = digits.substr(digits.size() - decimals);
  while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
  if (ip.empty()) ip = "0";
  return decimals > 0 ? ip + "." + fp : ip;
}

bool Fit(std::string text, int width, std::string* out) {
  if (static_cast<int>(text.size()) > width) return false;
  *out = std::string(width - text.size(), ' ') + text;
  return true;
}

}  // namespace

bool FormatNumberText(double value, int width, int decimals, std::string* out) {
  if (!std::isfinite(value)) return false;
  std::string text = RoundedDecimal(value, decimals);
  bool zero = text.find_first_not_of("0.") == std::string::npos;
  if (value < 0 && !zero) text.insert(text.begin(), '-');
  return Fit(std::move(text), width, out);
}

bool FormatIntegerText(int64_t value, int width, std::string* out) {
  return Fit(std::to_string(value), width, out);
}

double ParseNumberText(std::string_view text) {
  // from_chars, unlike strtod, does not follow the process locale: the
  // tables always use '.'.
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\0')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double v = 0.0;
  auto res = std::from_chars(text.data() + i, text.data() + text.size(), v,
                             std::chars_format::fixed);
  if (res.ec != std::errc() || !std::isfinite(v)) return 0.0;
  return negative ? -v : v;
}

int64_t ParseIntegerText(std::string_view text) {
  double v = std::trunc(ParseNumberText(text));
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

}  // namespace kpr
