#include "store/money.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "store/conversion_error.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

class MoneyTest : public ::testing::Test {
 protected:
  void SetUp() override { LocaleFormats::SetForTesting(QLocale(QStringLiteral("en_US"))); }
  void TearDown() override { LocaleFormats::ResetForTesting(); }
};

TEST_F(MoneyTest, FromDoubleRoundsToCentsHalfAwayFromZero) {
  const struct {
    double value;
    qint64 cents;
  } cases[] = {
      {2.675, 268},   {-2.675, -268},          {1.005, 101},  {-0.005, -1},
      {0.004, 0},     {-0.0, 0},               {0.1, 10},     {123456.785, 12345679},
      {1e-10, 0},     {0.1 + 0.2, 30},         {-99.99, -9999},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Money::FromDouble(c.value).cents(), c.cents) << c.value;
  }
}

TEST_F(MoneyTest, FromDoubleRejectsWhatIsNoAmount) {
  EXPECT_THROW(Money::FromDouble(std::numeric_limits<double>::quiet_NaN()), ConversionError);
  EXPECT_THROW(Money::FromDouble(std::numeric_limits<double>::infinity()), ConversionError);
  EXPECT_THROW(Money::FromDouble(1e18), ConversionError);
}

TEST_F(MoneyTest, FromTextUsesTheLocaleDecimalSeparator) {
  EXPECT_EQ(Money::FromText(QStringLiteral("12.50")).cents(), 1250);
  EXPECT_EQ(Money::FromText(QStringLiteral(" -3.1 ")).cents(), -310);
  EXPECT_EQ(Money::FromText(QStringLiteral("2.675")).cents(), 268);
  EXPECT_THROW(Money::FromText(QStringLiteral("12,50")), ConversionError);
  LocaleFormats::SetForTesting(QLocale(QStringLiteral("de_DE")));
  EXPECT_EQ(Money::FromText(QStringLiteral("12,50")).cents(), 1250);
}

TEST_F(MoneyTest, ManySmallAmountsSumWithoutDrift) {
  const Money dime = Money::FromDouble(0.10);
  Money total;
  for (int i = 0; i < 1000000; ++i) total += dime;
  EXPECT_EQ(total, Money::FromCents(10000000));
  EXPECT_EQ(total.ToDouble(), 100000.0);
  EXPECT_EQ(total.ToText(QStringLiteral("%13.2n")), QStringLiteral("   100,000.00"));

  const std::vector<Money> amounts(1000, Money::FromDouble(0.01));
  EXPECT_EQ(Money::Sum(amounts), Money::FromCents(1000));
}

TEST_F(MoneyTest, ArithmeticAndComparisons) {
  const Money a = Money::FromCents(1050);
  const Money b = Money::FromCents(-275);
  EXPECT_EQ(a + b, Money::FromCents(775));
  EXPECT_EQ(a - b, Money::FromCents(1325));
  EXPECT_EQ(-b, Money::FromCents(275));
  EXPECT_LT(b, a);
  EXPECT_GT(a, Money());
  EXPECT_NE(a, b);
  EXPECT_TRUE(Money().IsZero());
  EXPECT_FALSE(Money().IsNegative());
  EXPECT_TRUE(b.IsNegative());
  EXPECT_FALSE(a.IsZero());
  EXPECT_EQ(Money::FromCents(268).ToDouble(), 2.68);
}

TEST_F(MoneyTest, LeavingTheRangeThrows) {
  const Money max = Money::FromCents(std::numeric_limits<qint64>::max());
  const Money min = Money::FromCents(std::numeric_limits<qint64>::min());
  EXPECT_THROW(max + Money::FromCents(1), std::overflow_error);
  EXPECT_THROW(min - Money::FromCents(1), std::overflow_error);
  EXPECT_THROW(-min, std::overflow_error);
}

TEST_F(MoneyTest, ToTextUsesTheAmountFormats) {
  const struct {
    qint64 cents;
    const char* format;
    const char* text;
  } cases[] = {
      {-123456, "%12.2n", "   -1,234.56"},
      {-123456, "%13.2n", "    -1,234.56"},
      {-123456, "%9.2f", " -1234.56"},
      {5, "%12.2n", "        0.05"},
      {0, "%9.2f", "     0.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Money::FromCents(c.cents).ToText(QString::fromLatin1(c.format)),
              QString::fromLatin1(c.text))
        << c.cents << " " << c.format;
  }
}

}  // namespace
}  // namespace kpr
