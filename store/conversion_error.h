// ConversionError: text that does not convert to a number or a date.
//
// Thrown by the text conversions of the store (dates, amounts) where the
// caller does not check the input first. The message is ready to show as it
// stands; the application's top-level handler shows it in a warning box and
// the operation stops with the tables unchanged.
#pragma once

#include <QString>
#include <stdexcept>

namespace kpr {

class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const QString& message)
      : std::runtime_error(message.toStdString()) {}

  QString message() const { return QString::fromUtf8(what()); }

  // "'<text>' is not a valid date"
  static ConversionError InvalidDate(const QString& text) {
    return ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
  }
  // "'<text>' is not a valid integer value"
  static ConversionError InvalidInteger(const QString& text) {
    return ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  }
  // "'<text>' is not a valid floating point value"
  static ConversionError InvalidFloat(const QString& text) {
    return ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  }
};

}  // namespace kpr
