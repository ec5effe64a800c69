// Money: an exact amount of whole cents.
//
// The tables hold amounts as doubles with two decimals; sums, differences
// and comparisons are done in Money so that adding many amounts does not
// drift. Converting from a double rounds half away from zero to cents from
// the double's shortest decimal text (2.675 is 2.68, -0.125 is -0.13).
// Arithmetic that leaves the range of qint64 cents throws std::overflow_error.
#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <span>

namespace kpr {

class Money {
 public:
  constexpr Money() = default;

  static constexpr Money FromCents(qint64 cents) { return Money(cents); }
  // Throws ConversionError when `value` is not finite or too large.
  static Money FromDouble(double value);
  // Typed or stored number text, read by TextToFloat (the locale's decimal
  // separator, no thousands separators) and rounded to cents. Throws
  // ConversionError when the text does not convert.
  static Money FromText(const QString& text);
  // The exact sum.
  static Money Sum(std::span<const Money> amounts);

  constexpr qint64 cents() const { return cents_; }
  // The double nearest to the amount.
  double ToDouble() const { return static_cast<double>(cents_) / 100.0; }
  // The amount written with a number format of amount_text.h ("%12.2n" in
  // pick lists, "%13.2n" in reports, "%9.2f" in amount fields).
  QString ToText(const QString& format) const;

  constexpr bool IsZero() const { return cents_ == 0; }
  constexpr bool IsNegative() const { return cents_ < 0; }

  Money operator-() const;
  Money& operator+=(Money other);
  Money& operator-=(Money other);
  friend Money operator+(Money a, Money b) { return a += b; }
  friend Money operator-(Money a, Money b) { return a -= b; }

  friend constexpr bool operator==(Money a, Money b) = default;
  friend constexpr std::strong_ordering operator<=>(Money a, Money b) = default;

 private:
  constexpr explicit Money(qint64 cents) : cents_(cents) {}

  qint64 cents_ = 0;
};

}  // namespace kpr
