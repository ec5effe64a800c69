// Dates as typed text and as "yyyymmdd" key text.
//
// A date-time value is a local QDateTime. Typed dates use the short date
// format of LocaleFormats; the tables and their index keys hold eight digits
// "yyyymmdd". Two-digit typed years are kept inside a window of a hundred
// years around today by CenturyWindow before they are stored.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include "store/ui_services.h"

namespace kpr {

// Checks typed date text on leaving a date field. When it reads as a date,
// replaces *text by the short date text of that date and returns true;
// otherwise shows the warning "Invalid Date Entered", leaves *text as it was
// and returns false (the caller gives the focus back to the field).
bool ValidDate(QString* text, UiServices& ui);

// The date moved by a hundred years into [this year - 40, this year + 60),
// at midnight. "This year" is Clock's. An invalid date stays invalid.
// Throws ConversionError when the moved date does not exist (29 February of
// a year that is not a leap year).
QDateTime CenturyWindow(const QDateTime& date);

// CenturyWindow(date) as eight digits "yyyymmdd"; no time. Eight blanks for
// an invalid date.
QString DateToYmd(const QDateTime& date);

// Key text to a date: blank text (only blanks) is Clock::Now(); otherwise
// characters 1-4, 5-6 and 7-8 are year, month and day, and the result is that
// date at midnight. No window is applied. Throws ConversionError: "'<part>'
// is not a valid integer value" when a part is not a number, "'<text>' is
// not a valid date" when the date does not exist.
QDateTime YmdToDate(const QString& text);

// The short date format of LocaleFormats in capital letters with one-letter
// day, month and year doubled: the format of the dates in report rows.
QString TwoDigitDateFormat();
// The same for a given format ("M/d/yy" gives "MM/DD/YY", "dd/MM/yyyy" gives
// "DD/MM/YYYY").
QString TwoDigitDateFormat(const QString& short_format);

// The date written in a format made of "D", "M" and "Y" runs of either case
// (as TwoDigitDateFormat returns) and literal separators.
QString FormatDate(const QDate& date, const QString& format);

}  // namespace kpr
