#include "store/locale_formats.h"

#include <gtest/gtest.h>

#include "store/clock.h"

namespace kpr {
namespace {

class LocaleFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override { Clock::SetFixed(QDateTime(QDate(2026, 6, 15), QTime(10, 0))); }
  void TearDown() override {
    Clock::Reset();
    LocaleFormats::ResetForTesting();
  }
};

struct LocaleCase {
  const char* locale;
  const char* short_format;
  char16_t date_separator;
  char16_t decimal;
  char16_t thousands;
  const char* jan_5_2026;
};

TEST_F(LocaleFormatsTest, FormatsAndSeparatorsFollowTheLocale) {
  const LocaleCase cases[] = {
      {"en_US", "MM/dd/yy", u'/', u'.', u',', "01/05/26"},
      {"de_DE", "dd.MM.yy", u'.', u',', u'.', "05.01.26"},
      // No numeric short format ("d MMM yyyy").
      {"C", "MM/dd/yy", u'/', u'.', u',', "01/05/26"},
      // Four-digit years shortened.
      {"en_GB", "dd/MM/yy", u'/', u'.', u',', "05/01/26"},
      {"ja_JP", "yy/MM/dd", u'/', u'.', u',', "26/01/05"},
      // "yyyy. MM. dd.": blanks after the separator and a trailing dot.
      {"hu_HU", "yy.MM.dd", u'.', u',', u'\u00a0', "26.01.05"},
      // "d.MM.yy 'г'.": a quoted literal after the year.
      {"bg_BG", "dd.MM.yy", u'.', u',', u'\u00a0', "05.01.26"},
  };
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(c.locale);
    LocaleFormats::SetForTesting(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(LocaleFormats::ShortDateFormat(), QString::fromLatin1(c.short_format));
    EXPECT_EQ(LocaleFormats::DateSeparator(), QChar(c.date_separator));
    EXPECT_EQ(LocaleFormats::DecimalSeparator(), QChar(c.decimal));
    EXPECT_EQ(LocaleFormats::ThousandsSeparator(), QChar(c.thousands));
    EXPECT_EQ(LocaleFormats::DateToText(QDate(2026, 1, 5)), QString::fromLatin1(c.jan_5_2026));
  }
}

struct ReadCase {
  const char* locale;
  const char* text;
  QDate expected;  // invalid: does not read
};

TEST_F(LocaleFormatsTest, TextToDateReadsTheLocaleOrderWithYearsInThisCentury) {
  const ReadCase cases[] = {
      {"en_US", "12/31/85", QDate(2085, 12, 31)},
      {"en_US", "12/31/26", QDate(2026, 12, 31)},
      {"en_US", "12/31/00", QDate(2000, 12, 31)},
      {"en_US", "1/5/26", QDate(2026, 1, 5)},
      {"en_US", " 1 / 5 / 26 ", QDate(2026, 1, 5)},
      {"en_US", "12/31/1985", QDate(1985, 12, 31)},
      {"en_US", "12/31", QDate(2026, 12, 31)},
      {"en_US", "02/29/24", QDate(2024, 2, 29)},
      {"en_US", "02/29/25", QDate()},
      {"en_US", "02/30/26", QDate()},
      {"en_US", "13/01/26", QDate()},
      {"en_US", "00/10/26", QDate()},
      {"en_US", "12/31/0000", QDate()},
      {"en_US", "12/31/12345", QDate()},
      {"en_US", "12-31-85", QDate()},
      {"en_US", "12/31/85/1", QDate()},
      {"en_US", "12/3a/85", QDate()},
      {"en_US", "  /  /  ", QDate()},
      {"en_US", "", QDate()},
      {"de_DE", "31.12.85", QDate(2085, 12, 31)},
      {"de_DE", "5.1.", QDate()},
      {"de_DE", "12/31/85", QDate()},
      {"ja_JP", "26/01/05", QDate(2026, 1, 5)},
      {"ja_JP", "01/05", QDate(2026, 1, 5)},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " '" + c.text + "'");
    LocaleFormats::SetForTesting(QLocale(QString::fromLatin1(c.locale)));
    const std::optional<QDate> date = LocaleFormats::TextToDate(QString::fromLatin1(c.text));
    if (c.expected.isValid()) {
      ASSERT_TRUE(date.has_value());
      EXPECT_EQ(*date, c.expected);
    } else {
      EXPECT_FALSE(date.has_value());
    }
  }
}

TEST_F(LocaleFormatsTest, TwoDigitYearsFollowTheClockNotTheLibrary) {
  LocaleFormats::SetForTesting(QLocale(QStringLiteral("en_US")));
  Clock::SetFixed(QDateTime(QDate(2101, 1, 1), QTime(0, 0)));
  EXPECT_EQ(LocaleFormats::TextToDate(QStringLiteral("12/31/85")), QDate(2185, 12, 31));
  Clock::SetFixed(QDateTime(QDate(1999, 1, 1), QTime(0, 0)));
  EXPECT_EQ(LocaleFormats::TextToDate(QStringLiteral("12/31/85")), QDate(1985, 12, 31));
}

}  // namespace
}  // namespace kpr
