#include "store/amount_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "store/conversion_error.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

class AmountTextTest : public ::testing::Test {
 protected:
  void SetUp() override { UseLocale("en_US"); }
  void TearDown() override { LocaleFormats::ResetForTesting(); }
  static void UseLocale(const char* name) {
    LocaleFormats::SetForTesting(QLocale(QString::fromLatin1(name)));
  }
};

struct TextCase {
  const char* locale;
  const char* format;
  const char* typed;
  const char* result;
};

TEST_F(AmountTextTest, FormatAmountTextReformatsTypedAmountsAndRates) {
  const TextCase cases[] = {
      {"en_US", "%9.2f", "    12.5", "    12.50"},
      {"en_US", "%9.2f", "12.5", "    12.50"},
      {"en_US", "%9.2f", "1 2.5", "    12.50"},
      // A minus before a zero value stays, right-aligned in the typed length.
      {"en_US", "%9.2f", "   -  .  ", "    -0.00"},
      {"en_US", "%9.2f", "-0       ", "    -0.00"},
      {"en_US", "%9.2f", "   -0.00 ", "    -0.00"},
      {"en_US", "%9.2f", "-0", "-0.00"},
      {"en_US", "%9.2f", "      .  ", "     0.00"},
      {"en_US", "%9.2f", ".", "     0.00"},
      {"en_US", "%9.2f", "0", "     0.00"},
      {"en_US", "%9.2f", "-12.345", "   -12.35"},
      {"en_US", "%9.2f", "2.675", "     2.68"},
      {"en_US", "%9.2f", "+7", "     7.00"},
      {"en_US", "%9.2f", "1e3", "  1000.00"},
      {"en_US", "%9.2f", "-000123.4", "  -123.40"},
      {"en_US", "%9.2f", "123456.78", "123456.78"},
      {"en_US", "%9.2f", "1234567.5", "1234567.50"},  // wider than the format: not cut
      {"en_US", "%10.4f", "1.5", "    1.5000"},
      {"en_US", "%10.4f", "0.12345", "    0.1235"},
      {"en_US", "%10.4f", "    -.    ", "   -0.0000"},
      {"de_DE", "%9.2f", "   12,5", "    12,50"},
      {"de_DE", "%9.2f", "   -  ,  ", "    -0,00"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + c.format + " '" + c.typed + "'");
    UseLocale(c.locale);
    EXPECT_EQ(FormatAmountText(QString::fromLatin1(c.typed), QString::fromLatin1(c.format)),
              QString::fromLatin1(c.result));
  }
}

TEST_F(AmountTextTest, FormatAmountTextFailsWithTheBlankFreeText) {
  const struct {
    const char* locale;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"en_US", "  1- .  ", "1-."},
      {"en_US", "1-", "1-"},
      {"en_US", "", ""},
      {"en_US", "   ", ""},
      {"en_US", " - ", "-"},
      {"en_US", "1.2.3", "1.2.3"},
      {"en_US", "1e", "1e"},
      {"en_US", "abc", "abc"},
      {"en_US", "1,5", "1,5"},
      {"en_US", "1,000.00", "1,000.00"},
      {"de_DE", "12.5", "12.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " '" + c.typed + "'");
    UseLocale(c.locale);
    try {
      FormatAmountText(QString::fromLatin1(c.typed), QStringLiteral("%9.2f"));
      ADD_FAILURE() << "no ConversionError";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(),
                QStringLiteral("'%1' is not a valid floating point value").arg(QString::fromLatin1(c.shown)));
    }
  }
}

TEST_F(AmountTextTest, TextToFloatKeepsTheSignOfZero) {
  EXPECT_TRUE(std::signbit(TextToFloat(QStringLiteral("-."))));
  EXPECT_TRUE(std::signbit(TextToFloat(QStringLiteral("-0"))));
  EXPECT_FALSE(std::signbit(TextToFloat(QStringLiteral("."))));
  EXPECT_EQ(TextToFloat(QStringLiteral("  -12.5e-1 ")), -1.25);
}

TEST_F(AmountTextTest, FormatNumberGroupsThousandsForNFormats) {
  const struct {
    const char* locale;
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"en_US", "%12.2n", 1234567.891, "1,234,567.89"},
      {"en_US", "%12.2n", -1234.5, "   -1,234.50"},
      {"en_US", "%12.2n", 100, "      100.00"},
      {"en_US", "%12.2n", 999.995, "    1,000.00"},
      {"en_US", "%12.2n", 0, "        0.00"},
      {"en_US", "%12.2n", -0.0, "        0.00"},
      {"en_US", "%12.2n", -0.004, "        0.00"},
      {"en_US", "%12.2n", -0.005, "       -0.01"},
      {"en_US", "%13.2n", -1234567.89, "-1,234,567.89"},
      {"en_US", "%13.2n", -12345678.9, "-12,345,678.90"},
      {"en_US", "%9.2f", 1234567.891, "1234567.89"},
      {"en_US", "%9.2f", 1e20, "100000000000000000000.00"},
      {"en_US", "%10.4f", 0.1 + 0.2, "    0.3000"},
      {"de_DE", "%12.2n", 1234567.891, "1.234.567,89"},
      {"de_DE", "%13.2n", -1234.5, "    -1.234,50"},
      {"de_DE", "%9.2f", -1234.5, " -1234,50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + " " + c.format + " " + std::to_string(c.value));
    UseLocale(c.locale);
    EXPECT_EQ(FormatNumber(c.value, QString::fromLatin1(c.format)), QString::fromLatin1(c.text));
  }
}

TEST_F(AmountTextTest, FormatScaledWritesExactValues) {
  EXPECT_EQ(FormatScaled(123456, 2, QStringLiteral("%9.2f")), QStringLiteral("  1234.56"));
  EXPECT_EQ(FormatScaled(-5, 2, QStringLiteral("%12.2n")), QStringLiteral("       -0.05"));
  EXPECT_EQ(FormatScaled(12345, 4, QStringLiteral("%9.2f")), QStringLiteral("     1.23"));
  EXPECT_EQ(FormatScaled(-12350, 4, QStringLiteral("%9.2f")), QStringLiteral("    -1.24"));
  EXPECT_EQ(FormatScaled(7, 0, QStringLiteral("%10.4f")), QStringLiteral("    7.0000"));
  EXPECT_EQ(FormatScaled(std::numeric_limits<qint64>::min(), 2, QStringLiteral("%1.2n")),
            QStringLiteral("-92,233,720,368,547,758.08"));
}

TEST_F(AmountTextTest, UnsupportedFormatsAreRejected) {
  for (const char* format : {"%d", "9.2f", "%9.2e", "%9.2f ", "%9.19f"}) {
    EXPECT_THROW(FormatNumber(1, QString::fromLatin1(format)), std::invalid_argument) << format;
  }
}

TEST_F(AmountTextTest, RoundToScaledRoundsTheShortestDecimalHalfAwayFromZero) {
  const struct {
    double value;
    int scale;
    std::optional<qint64> scaled;
  } cases[] = {
      {2.675, 2, 268},
      {-2.675, 2, -268},
      {1.005, 2, 101},
      {-0.125, 2, -13},
      {0.1 + 0.2, 2, 30},
      {0.5, 0, 1},
      {-0.5, 0, -1},
      {0.004, 2, 0},
      {1234.5678, 4, 12345678},
      {1e-300, 2, 0},
      {1e20, 2, std::nullopt},
      {std::numeric_limits<double>::quiet_NaN(), 2, std::nullopt},
      {-std::numeric_limits<double>::infinity(), 2, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundToScaled(c.value, c.scale), c.scaled) << c.value << " at " << c.scale;
  }
}

TEST_F(AmountTextTest, PadNumberWidensButNeverCuts) {
  const struct {
    qint64 n;
    int width;
    const char* text;
  } cases[] = {
      {7, 4, "   7"},      {12345, 4, "12345"}, {1234, 4, "1234"},
      {-3, 4, "  -3"},     {0, 1, "0"},         {42, 8, "      42"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PadNumber(c.n, c.width), QString::fromLatin1(c.text)) << c.n << "/" << c.width;
  }
}

TEST_F(AmountTextTest, SeekKeyIsWindows1252CutTo60) {
  EXPECT_EQ(SeekKey(QStringLiteral("20260105")), "20260105");
  EXPECT_EQ(SeekKey(QString(70, u'x')), std::string(60, 'x'));
  EXPECT_EQ(SeekKey(QString::fromUtf8("Caf\u00e9")), "Caf\xe9");
}

}  // namespace
}  // namespace kpr
