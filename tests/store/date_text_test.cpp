#include "store/date_text.h"

#include <gtest/gtest.h>

#include "store/clock.h"
#include "store/conversion_error.h"
#include "store/locale_formats.h"
#include "tests/support/scripted_ui.h"

namespace kpr {
namespace {

const QDateTime kNow(QDate(2026, 6, 15), QTime(10, 20, 30));

QDateTime Midnight(int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0)); }

class DateTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock::SetFixed(kNow);
    LocaleFormats::SetForTesting(QLocale(QStringLiteral("en_US")));
  }
  void TearDown() override {
    Clock::Reset();
    LocaleFormats::ResetForTesting();
  }

  testing::ScriptedUi ui_;
};

struct ValidCase {
  const char* locale;
  const char* typed;
  bool valid;
  const char* shown;  // the text afterwards
};

TEST_F(DateTextTest, ValidDateNormalisesOrWarns) {
  const ValidCase cases[] = {
      {"en_US", "12/31/26", true, "12/31/26"},
      {"en_US", "12/31/1999", true, "12/31/99"},
      {"en_US", "1/5/26", true, "01/05/26"},
      {"en_US", "02/29/24", true, "02/29/24"},
      {"en_US", "02/30/26", false, "02/30/26"},
      {"en_US", "02/30/24", false, "02/30/24"},
      {"en_US", "  /  /  ", false, "  /  /  "},
      {"en_US", "31.12.26", false, "31.12.26"},
      {"de_DE", "31.12.26", true, "31.12.26"},
      {"de_DE", "30.02.26", false, "30.02.26"},
  };
  for (const ValidCase& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " '" + c.typed + "'");
    LocaleFormats::SetForTesting(QLocale(QString::fromLatin1(c.locale)));
    ui_.Clear();
    QString text = QString::fromLatin1(c.typed);
    EXPECT_EQ(ValidDate(&text, ui_), c.valid);
    EXPECT_EQ(text, QString::fromLatin1(c.shown));
    if (c.valid) {
      EXPECT_TRUE(ui_.shown().empty());
    } else {
      ASSERT_EQ(ui_.shown().size(), 1u);
      EXPECT_EQ(ui_.shown()[0].kind, UiServices::Kind::kWarning);
      EXPECT_EQ(ui_.shown()[0].buttons, UiServices::Buttons::kOk);
      EXPECT_EQ(ui_.shown()[0].text, QStringLiteral("Invalid Date Entered"));
    }
  }
}

TEST_F(DateTextTest, CenturyWindowKeepsYearsWithinMinus40AndPlus59) {
  const struct {
    QDate in;
    QDate out;
  } cases[] = {
      {QDate(2066, 3, 1), QDate(2066, 3, 1)},
      {QDate(2086, 3, 1), QDate(1986, 3, 1)},
      {QDate(1985, 12, 31), QDate(2085, 12, 31)},
      {QDate(1986, 1, 1), QDate(1986, 1, 1)},
      {QDate(2085, 12, 31), QDate(2085, 12, 31)},
      {QDate(2095, 7, 4), QDate(1995, 7, 4)},
      {QDate(1970, 7, 4), QDate(2070, 7, 4)},
      {QDate(2026, 6, 15), QDate(2026, 6, 15)},
      {QDate(2096, 2, 29), QDate(1996, 2, 29)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in.toString(Qt::ISODate).toStdString());
    EXPECT_EQ(CenturyWindow(QDateTime(c.in, QTime(14, 30))), QDateTime(c.out, QTime(0, 0)));
  }
}

TEST_F(DateTextTest, CenturyWindowFailsOnAMovedLeapDayThatDoesNotExist) {
  Clock::SetFixed(QDateTime(QDate(2061, 1, 1), QTime(0, 0)));  // window 2021..2120
  EXPECT_THROW(CenturyWindow(Midnight(2000, 2, 29)), ConversionError);
}

TEST_F(DateTextTest, DateToYmdWindowsAndDropsTheTime) {
  EXPECT_EQ(DateToYmd(QDateTime(QDate(2026, 1, 5), QTime(14, 30))), QStringLiteral("20260105"));
  EXPECT_EQ(DateToYmd(Midnight(2095, 3, 1)), QStringLiteral("19950301"));
  EXPECT_EQ(DateToYmd(Midnight(1985, 12, 31)), QStringLiteral("20851231"));
  EXPECT_EQ(DateToYmd(QDateTime()), QStringLiteral("        "));
}

TEST_F(DateTextTest, YmdToDateReadsKeyTextAtMidnight) {
  const struct {
    const char* text;
    QDateTime expected;
  } cases[] = {
      {"20260105", Midnight(2026, 1, 5)},
      {"19851231", Midnight(1985, 12, 31)},  // no window on loading
      {"20240229", Midnight(2024, 2, 29)},
      {"        ", kNow},
      {"", kNow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(YmdToDate(QString::fromLatin1(c.text)), c.expected);
  }
}

TEST_F(DateTextTest, YmdToDateFailsWithTheConversionMessage) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"20260230", "'20260230' is not a valid date"},
      {"20261301", "'20261301' is not a valid date"},
      {"00000101", "'00000101' is not a valid date"},
      {"2026ab05", "'ab' is not a valid integer value"},
      {"2026", "'' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      YmdToDate(QString::fromLatin1(c.text));
      ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(), QString::fromLatin1(c.message));
    }
  }
}

TEST_F(DateTextTest, TwoDigitDateFormatDoublesSingleLetters) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"M/d/yy", "MM/DD/YY"},
      {"MM/dd/yy", "MM/DD/YY"},
      {"dd/MM/yyyy", "DD/MM/YYYY"},
      {"d.M.yyyy", "DD.MM.YYYY"},
      {"yyyy-M-d", "YYYY-MM-DD"},
      {"M/d/y", "MM/DD/YY"},
      {"d MMM yyyy", "DD MMM YYYY"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TwoDigitDateFormat(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
  }
  EXPECT_EQ(TwoDigitDateFormat(), QStringLiteral("MM/DD/YY"));
  LocaleFormats::SetForTesting(QLocale(QStringLiteral("de_DE")));
  EXPECT_EQ(TwoDigitDateFormat(), QStringLiteral("DD.MM.YY"));
}

TEST_F(DateTextTest, FormatDateWritesCapitalFormats) {
  const QDate date(2026, 1, 5);
  EXPECT_EQ(FormatDate(date, QStringLiteral("MM/DD/YY")), QStringLiteral("01/05/26"));
  EXPECT_EQ(FormatDate(date, QStringLiteral("DD.MM.YYYY")), QStringLiteral("05.01.2026"));
  EXPECT_EQ(FormatDate(date, QStringLiteral("M/d/yy")), QStringLiteral("1/5/26"));
}

}  // namespace
}  // namespace kpr
