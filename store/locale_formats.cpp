#include "store/locale_formats.h"

#include <QStringList>

#include "store/clock.h"

namespace kpr {
namespace {

// Order of the three fields ('M', 'd', 'y') and the separator between them.
struct DatePattern {
  char order[3];
  QChar separator;
};

constexpr DatePattern kFallback = {{'M', 'd', 'y'}, QChar(u'/')};

std::optional<QLocale>& TestLocale() {
  static std::optional<QLocale> locale;
  return locale;
}

// The separator within the literal text between two fields: its first
// visible character, skipping direction marks; a blank when there are only
// blanks; '/' when there is nothing.
QChar SeparatorIn(const QString& literal) {
  bool blank = false;
  for (const QChar c : literal) {
    if (c.category() == QChar::Other_Format) continue;
    if (c.isSpace()) {
      blank = true;
      continue;
    }
    if (c.isDigit()) break;
    return c;
  }
  return blank ? QChar(u' ') : QChar(u'/');
}

// Reads the locale's short date format: fields are runs of a pattern letter,
// text in single quotes is literal ('' is a quote). Any field other than a
// numeric day ("d", "dd"), month ("M", "MM") or year ("yy", "yyyy") gives
// the fallback.
DatePattern PatternOf(const QLocale& locale) {
  const QString f = locale.dateFormat(QLocale::ShortFormat);
  DatePattern p = kFallback;
  int fields = 0;
  QString between;
  qsizetype i = 0;
  while (i < f.size()) {
    const QChar c = f[i];
    if (c == u'\'') {
      QString literal;
      ++i;
      while (i < f.size()) {
        if (f[i] == u'\'') {
          if (i + 1 < f.size() && f[i + 1] == u'\'') {
            literal += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal += f[i++];
      }
      if (fields == 1) between += literal;
      continue;
    }
    if (c.isLetter()) {
      qsizetype end = i;
      while (end < f.size() && f[end] == c) ++end;
      const qsizetype run = end - i;
      char letter = 0;
      if (c == u'd' && run <= 2) letter = 'd';
      if (c == u'M' && run <= 2) letter = 'M';
      if (c == u'y' && run <= 4) letter = 'y';
      if (letter == 0 || fields == 3) return kFallback;
      for (int k = 0; k < fields; ++k) {
        if (p.order[k] == letter) return kFallback;
      }
      p.order[fields++] = letter;
      i = end;
      continue;
    }
    if (fields == 1) between += c;
    ++i;
  }
  if (fields != 3) return kFallback;
  p.separator = SeparatorIn(between);
  return p;
}

DatePattern CurrentPattern() { return PatternOf(LocaleFormats::Locale()); }

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); }

// 1 to 4 ASCII digits with blanks around them; -1 otherwise. *digits gets
// the number of digits.
int ReadField(const QString& part, int* digits) {
  const QString t = part.trimmed();
  if (t.isEmpty() || t.size() > 4) return -1;
  int value = 0;
  for (const QChar c : t) {
    if (c < u'0' || c > u'9') return -1;
    value = value * 10 + (c.unicode() - u'0');
  }
  *digits = static_cast<int>(t.size());
  return value;
}

}  // namespace

QLocale LocaleFormats::Locale() { return TestLocale() ? *TestLocale() : QLocale::system(); }

void LocaleFormats::SetForTesting(const QLocale& locale) { TestLocale() = locale; }

void LocaleFormats::ResetForTesting() { TestLocale().reset(); }

QString LocaleFormats::ShortDateFormat() { return ShortDateFormatOf(Locale()); }

QString LocaleFormats::ShortDateFormatOf(const QLocale& locale) {
  const DatePattern p = PatternOf(locale);
  QString format;
  for (int k = 0; k < 3; ++k) {
    if (k > 0) format += p.separator;
    format += p.order[k] == 'M' ? QStringLiteral("MM")
              : p.order[k] == 'd' ? QStringLiteral("dd")
                                  : QStringLiteral("yy");
  }
  return format;
}

QChar LocaleFormats::DateSeparator() { return CurrentPattern().separator; }

QChar LocaleFormats::DecimalSeparator() {
  const QString s = Locale().decimalPoint();
  return s.isEmpty() ? QChar(u'.') : s[0];
}

QChar LocaleFormats::ThousandsSeparator() {
  const QString s = Locale().groupSeparator();
  return s.isEmpty() ? QChar(u',') : s[0];
}

std::optional<QDate> LocaleFormats::TextToDate(const QString& text) {
  const DatePattern p = CurrentPattern();
  const QStringList parts =
      p.separator == u' ' ? text.split(u' ', Qt::SkipEmptyParts) : text.split(p.separator);
  if (parts.size() != 2 && parts.size() != 3) return std::nullopt;

  int day = 0, month = 0, year = Clock::Today().year();
  int k = 0;
  for (const QString& part : parts) {
    // With two numbers the year is left out of the order.
    if (parts.size() == 2 && p.order[k] == 'y') ++k;
    int digits = 0;
    const int value = ReadField(part, &digits);
    if (value < 0) return std::nullopt;
    switch (p.order[k++]) {
      case 'd': day = value; break;
      case 'M': month = value; break;
      default: year = digits <= 2 ? Clock::Today().year() / 100 * 100 + value : value;
    }
  }
  if (year < 1 || !QDate::isValid(year, month, day)) return std::nullopt;
  return QDate(year, month, day);
}

QString LocaleFormats::DateToText(const QDate& date) {
  const DatePattern p = CurrentPattern();
  QString text;
  for (int k = 0; k < 3; ++k) {
    if (k > 0) text += p.separator;
    switch (p.order[k]) {
      case 'd': text += TwoDigits(date.day()); break;
      case 'M': text += TwoDigits(date.month()); break;
      default: text += TwoDigits((date.year() % 100 + 100) % 100);
    }
  }
  return text;
}

}  // namespace kpr
