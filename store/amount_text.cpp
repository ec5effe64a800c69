#include "store/amount_text.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "store/codepage.h"
#include "store/conversion_error.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

constexpr int kMaxScale = 18;
constexpr size_t kMaxSeekKey = 60;

struct NumberFormat {
  int width = 0;
  int decimals = 2;
  bool grouped = false;
};

NumberFormat ParseFormat(const QString& format) {
  static const QRegularExpression kShape(QStringLiteral(R"(^%(\d*)(?:\.(\d+))?([fn])$)"));
  const QRegularExpressionMatch m = kShape.match(format);
  if (!m.hasMatch()) throw std::invalid_argument("unsupported number format: " + format.toStdString());
  NumberFormat f;
  if (!m.captured(1).isEmpty()) f.width = m.captured(1).toInt();
  if (!m.captured(2).isEmpty()) f.decimals = m.captured(2).toInt();
  if (f.decimals > kMaxScale) throw std::invalid_argument("too many decimals: " + format.toStdString());
  f.grouped = m.captured(3) == u"n";
  return f;
}

// A finite double as the shortest decimal that reads back as it:
// value = (negative ? -1 : 1) * digits * 10^exponent.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

Decimal ShortestDecimal(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  const std::string_view s(buf, r.ptr - buf);  // "-1.2345e+02"
  Decimal d;
  size_t i = 0;
  if (s[i] == '-') {
    d.negative = true;
    ++i;
  }
  for (; s[i] != 'e'; ++i) {
    if (s[i] != '.') d.digits.push_back(s[i]);
  }
  int exp = 0;
  std::from_chars(s.data() + i + 1 + (s[i + 1] == '+'), s.data() + s.size(), exp);
  d.exponent = exp - static_cast<int>(d.digits.size()) + 1;
  return d;
}

// Adds one to a string of decimal digits, growing it on carry.
void Increment(std::string* digits) {
  for (size_t i = digits->size(); i-- > 0;) {
    if ((*digits)[i] != '9') {
      ++(*digits)[i];
      return;
    }
    (*digits)[i] = '0';
  }
  digits->insert(digits->begin(), '1');
}

// The magnitude digits * 10^-scale rounded half away from zero to
// `decimals` places, as integer digits and exactly `decimals` fraction digits.
void RoundDigits(std::string digits, int scale, int decimals, std::string* int_part,
                 std::string* fraction) {
  if (scale < 0) {
    digits.append(-scale, '0');
    scale = 0;
  }
  if (static_cast<int>(digits.size()) < scale + 1) digits.insert(0, scale + 1 - digits.size(), '0');
  if (scale > decimals) {
    const bool up = digits[digits.size() - (scale - decimals)] >= '5';
    digits.resize(digits.size() - (scale - decimals));
    if (up) Increment(&digits);
  } else {
    digits.append(decimals - scale, '0');
  }
  *int_part = digits.substr(0, digits.size() - decimals);
  *fraction = digits.substr(digits.size() - decimals);
  const size_t first = int_part->find_first_not_of('0');
  int_part->erase(0, first == std::string::npos ? int_part->size() - 1 : first);
}

QString Layout(bool negative, const std::string& digits, int scale, const NumberFormat& f) {
  std::string int_part, fraction;
  RoundDigits(digits, scale, f.decimals, &int_part, &fraction);
  if (int_part == "0" && fraction.find_first_not_of('0') == std::string::npos) negative = false;

  QString text;
  if (negative) text += u'-';
  const QChar group = LocaleFormats::ThousandsSeparator();
  for (size_t i = 0; i < int_part.size(); ++i) {
    if (f.grouped && i > 0 && (int_part.size() - i) % 3 == 0) text += group;
    text += QChar(int_part[i]);
  }
  if (f.decimals > 0) text += LocaleFormats::DecimalSeparator() + QString::fromLatin1(fraction);
  return text.rightJustified(f.width, u' ');
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

double TextToFloat(const QString& text) {
  const QString t = text.trimmed();
  const QChar separator = LocaleFormats::DecimalSeparator();
  std::string number;
  qsizetype i = 0;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
    if (t[i] == u'-') number.push_back('-');
    ++i;
  }
  std::string int_digits, fraction;
  bool has_separator = false;
  while (i < t.size() && IsDigit(t[i])) int_digits.push_back(t[i++].toLatin1());
  if (i < t.size() && t[i] == separator) {
    has_separator = true;
    ++i;
    while (i < t.size() && IsDigit(t[i])) fraction.push_back(t[i++].toLatin1());
  }
  if (int_digits.empty() && !has_separator) throw ConversionError::InvalidFloat(text);
  number += (int_digits.empty() ? "0" : int_digits) + "." + (fraction.empty() ? "0" : fraction);
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    number.push_back('e');
    ++i;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) number.push_back(t[i++].toLatin1());
    const qsizetype start = i;
    while (i < t.size() && IsDigit(t[i])) number.push_back(t[i++].toLatin1());
    if (i == start) throw ConversionError::InvalidFloat(text);
  }
  if (i != t.size()) throw ConversionError::InvalidFloat(text);

  double value = 0;
  const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec != std::errc() || r.ptr != number.data() + number.size()) {
    throw ConversionError::InvalidFloat(text);
  }
  return value;
}

QString FormatAmountText(const QString& text, const QString& format) {
  QString compact = text;
  compact.remove(u' ');
  const double value = TextToFloat(compact);
  QString result = FormatNumber(value, format);
  if (compact.startsWith(u'-') && !(value < 0)) {
    qsizetype first = 0;
    while (first < result.size() && result[first] == u' ') ++first;
    result = (u'-' + result.mid(first)).rightJustified(text.size(), u' ');
  }
  return result;
}

QString FormatNumber(double value, const QString& format) {
  const NumberFormat f = ParseFormat(format);
  if (!std::isfinite(value)) {
    const char* name = std::isnan(value) ? "NAN" : value < 0 ? "-INF" : "INF";
    return QString::fromLatin1(name).rightJustified(f.width, u' ');
  }
  const Decimal d = ShortestDecimal(value);
  return Layout(d.negative, d.digits, -d.exponent, f);
}

QString FormatScaled(qint64 scaled, int scale, const QString& format) {
  if (scale < 0 || scale > kMaxScale) throw std::invalid_argument("scale out of range");
  const NumberFormat f = ParseFormat(format);
  const quint64 magnitude = scaled < 0 ? 0 - static_cast<quint64>(scaled) : scaled;
  return Layout(scaled < 0, std::to_string(magnitude), scale, f);
}

std::optional<qint64> RoundToScaled(double value, int scale) {
  if (scale < 0 || scale > kMaxScale) throw std::invalid_argument("scale out of range");
  if (!std::isfinite(value)) return std::nullopt;
  const Decimal d = ShortestDecimal(value);
  std::string int_part, fraction;
  RoundDigits(d.digits, -d.exponent, scale, &int_part, &fraction);
  const std::string digits = int_part + fraction;
  quint64 magnitude = 0;
  const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (r.ec != std::errc()) return std::nullopt;
  const quint64 limit = static_cast<quint64>(std::numeric_limits<qint64>::max()) + (d.negative ? 1 : 0);
  if (magnitude > limit) return std::nullopt;
  return d.negative ? static_cast<qint64>(0 - magnitude) : static_cast<qint64>(magnitude);
}

QString PadNumber(qint64 n, int width) { return QString::number(n).rightJustified(width, u' '); }

std::string SeekKey(const QString& text) {
  std::string key = Utf8ToCp1252(text.toStdString());
  if (key.size() > kMaxSeekKey) key.resize(kMaxSeekKey);
  return key;
}

}  // namespace kpr
