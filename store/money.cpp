#include "store/money.h"

#include <optional>
#include <stdexcept>

#include "store/amount_text.h"
#include "store/conversion_error.h"

namespace kpr {

Money Money::FromDouble(double value) {
  const std::optional<qint64> cents = RoundToScaled(value, 2);
  if (!cents) throw ConversionError::InvalidFloat(QString::number(value));
  return Money(*cents);
}

Money Money::FromText(const QString& text) { return FromDouble(TextToFloat(text)); }

Money Money::Sum(std::span<const Money> amounts) {
  Money total;
  for (const Money m : amounts) total += m;
  return total;
}

QString Money::ToText(const QString& format) const { return FormatScaled(cents_, 2, format); }

Money Money::operator-() const {
  qint64 negated = 0;
  if (__builtin_sub_overflow(qint64{0}, cents_, &negated)) throw std::overflow_error("Money overflow");
  return Money(negated);
}

Money& Money::operator+=(Money other) {
  if (__builtin_add_overflow(cents_, other.cents_, &cents_)) throw std::overflow_error("Money overflow");
  return *this;
}

Money& Money::operator-=(Money other) {
  if (__builtin_sub_overflow(cents_, other.cents_, &cents_)) throw std::overflow_error("Money overflow");
  return *this;
}

}  // namespace kpr
