// LocaleFormats: the date and number conventions of the user's locale, as
// the program uses them.
//
// Dates are typed and shown with two-digit day, month and year, in the
// locale's order and with its separator. Numbers use the locale's decimal and
// thousands separators but always ASCII digits and a leading '-'. Tests set
// the locale with SetForTesting; otherwise it is QLocale::system().
#pragma once

#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace kpr {

class LocaleFormats {
 public:
  // The locale in use.
  static QLocale Locale();
  static void SetForTesting(const QLocale& locale);
  static void ResetForTesting();

  // Short date format in Qt's pattern letters: "MM", "dd" and "yy" in the
  // locale's order, joined by its date separator ("MM/dd/yy" for en_US,
  // "dd.MM.yy" for de_DE, "yy-MM-dd" for sv_SE). A locale whose short format
  // is not made of numeric day, month and year (the C locale's "d MMM yyyy")
  // gets "MM/dd/yy".
  static QString ShortDateFormat();
  static QString ShortDateFormatOf(const QLocale& locale);
  // The separator of ShortDateFormat().
  static QChar DateSeparator();

  static QChar DecimalSeparator();
  static QChar ThousandsSeparator();

  // Reads typed date text in the order and with the separator of
  // ShortDateFormat(): day, month and year as numbers of one to four digits
  // with blanks around them allowed. A year of one or two digits lies in the
  // century of Clock::Today() ("26" is 2026, "95" is 2095); with only two
  // numbers the year is Clock's. nullopt when the text does not read or the
  // date does not exist (February 30).
  static std::optional<QDate> TextToDate(const QString& text);

  // The date in ShortDateFormat(). REQUIRES: date.isValid().
  static QString DateToText(const QDate& date);
};

}  // namespace kpr
