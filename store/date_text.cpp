#include "store/date_text.h"

#include <QTime>

#include "store/clock.h"
#include "store/conversion_error.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

QDateTime AtMidnight(const QDate& date) { return QDateTime(date, QTime(0, 0)); }

// A part of key text read as a decimal integer: leading blanks and a sign
// allowed, nothing after the digits.
int ReadInteger(const QString& part) {
  qsizetype i = 0;
  while (i < part.size() && part[i] == u' ') ++i;
  bool negative = false;
  if (i < part.size() && (part[i] == u'-' || part[i] == u'+')) negative = part[i++] == u'-';
  if (i == part.size()) throw ConversionError::InvalidInteger(part);
  int value = 0;
  for (; i < part.size(); ++i) {
    if (part[i] < u'0' || part[i] > u'9') throw ConversionError::InvalidInteger(part);
    value = value * 10 + (part[i].unicode() - u'0');
  }
  return negative ? -value : value;
}

}  // namespace

bool ValidDate(QString* text, UiServices& ui) {
  const std::optional<QDate> date = LocaleFormats::TextToDate(*text);
  if (!date) {
    ui.Warn(QStringLiteral("Invalid Date Entered"));
    return false;
  }
  *text = LocaleFormats::DateToText(*date);
  return true;
}

QDateTime CenturyWindow(const QDateTime& date) {
  if (!date.isValid()) return date;
  const int base = Clock::Today().year() - 40;
  const QDate d = date.date();
  int year = d.year();
  if (year < base) {
    year += 100;
  } else if (year >= base + 100) {
    year -= 100;
  }
  if (!QDate::isValid(year, d.month(), d.day())) {
    throw ConversionError(QStringLiteral("Invalid argument to date encode"));
  }
  return AtMidnight(QDate(year, d.month(), d.day()));
}

QString DateToYmd(const QDateTime& date) {
  if (!date.isValid()) return QString(8, u' ');
  const QDate d = CenturyWindow(date).date();
  return QStringLiteral("%1%2%3")
      .arg(d.year(), 4, 10, QChar(u'0'))
      .arg(d.month(), 2, 10, QChar(u'0'))
      .arg(d.day(), 2, 10, QChar(u'0'));
}

QDateTime YmdToDate(const QString& text) {
  if (text.trimmed().isEmpty()) return Clock::Now();
  const int year = ReadInteger(text.mid(0, 4));
  const int month = ReadInteger(text.mid(4, 2));
  const int day = ReadInteger(text.mid(6, 2));
  if (year < 1 || !QDate::isValid(year, month, day)) throw ConversionError::InvalidDate(text);
  return AtMidnight(QDate(year, month, day));
}

QString TwoDigitDateFormat() { return TwoDigitDateFormat(LocaleFormats::ShortDateFormat()); }

QString TwoDigitDateFormat(const QString& short_format) {
  QString format = short_format.toUpper();
  for (const QChar letter : {QChar(u'M'), QChar(u'D'), QChar(u'Y')}) {
    const qsizetype single = format.indexOf(letter);
    const qsizetype doubled = format.indexOf(QString(2, letter));
    if (single != doubled && single >= 0) format.insert(single + 1, letter);
  }
  return format;
}

QString FormatDate(const QDate& date, const QString& format) {
  QString text;
  qsizetype i = 0;
  while (i < format.size()) {
    const QChar c = format[i].toUpper();
    qsizetype end = i + 1;
    while (end < format.size() && format[end].toUpper() == c) ++end;
    const qsizetype run = end - i;
    const int width = run >= 2 ? 2 : 1;
    if (c == u'D') {
      text += QStringLiteral("%1").arg(date.day(), width, 10, QChar(u'0'));
    } else if (c == u'M') {
      text += QStringLiteral("%1").arg(date.month(), width, 10, QChar(u'0'));
    } else if (c == u'Y') {
      text += run <= 2 ? QStringLiteral("%1").arg((date.year() % 100 + 100) % 100, 2, 10, QChar(u'0'))
                       : QStringLiteral("%1").arg(date.year(), 4, 10, QChar(u'0'));
    } else {
      text += format.mid(i, run);
    }
    i = end;
  }
  return text;
}

}  // namespace kpr
