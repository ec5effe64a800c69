// Field values as the engine stores and reads them: numbers, logicals,
// Windows-1252 text and dates, and the refusal of values that do not fit.
#include <gtest/gtest.h>

#include <string>

#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

class FieldValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        MakeTable(dir_.File("VALUES.dbf"),
                  {Field("NAME", 'C', 10), Field("AMOUNT", 'N', 12, 2), Field("QTY", 'N', 5),
                   Field("RATE", 'F', 8, 3), Field("DONE", 'L', 1), Field("WHEN", 'D', 8)})
            .ok());
    Reopen();
    ASSERT_TRUE(t_->AppendBlank().ok());
  }

  void Reopen() {
    engine_.CloseAll();
    t_ = engine_.Open("values");
    ASSERT_NE(t_, nullptr) << engine_.error_message();
  }

  // Writes the record, reopens the table and goes back to record 1.
  void StoreAndReload() {
    Reopen();
    ASSERT_EQ(t_->Go(1), Table::kOnRecord);
  }

  static constexpr int kName = 0, kAmount = 1, kQty = 2, kRate = 3, kDone = 4, kWhen = 5;
  TempDir dir_;
  Engine engine_{dir_.path()};
  Table* t_ = nullptr;
};

TEST_F(FieldValuesTest, NumbersAreRightAlignedAndRoundedHalfAwayFromZero) {
  const struct {
    int field;
    double value;
    const char* stored;
  } cases[] = {
      {kAmount, 2.675, "        2.68"},
      {kAmount, -2.675, "       -2.68"},
      {kAmount, 1.005, "        1.01"},
      {kAmount, 0.125, "        0.13"},
      {kAmount, -0.004, "        0.00"},
      {kAmount, 1234567.891, "  1234567.89"},
      {kAmount, 0, "        0.00"},
      {kAmount, 999999999.99, "999999999.99"},
      {kQty, 2.5, "    3"},
      {kQty, -2.5, "   -3"},
      {kQty, 99999, "99999"},
      {kRate, 3.14159, "   3.142"},
      {kRate, -0.0005, "  -0.001"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(t_->SetDouble(c.field, c.value).ok()) << c.value;
    EXPECT_EQ(t_->RawText(c.field), c.stored) << c.value;
  }
}

TEST_F(FieldValuesTest, IntegersAreRightAlignedInTheirField) {
  const struct {
    int field;
    int64_t value;
    const char* stored;
  } cases[] = {
      {kQty, 42, "   42"},           {kQty, -1234, "-1234"},        {kQty, 0, "    0"},
      {kAmount, 17, "       17.00"}, {kAmount, -5, "       -5.00"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(t_->SetLong(c.field, c.value).ok()) << c.value;
    EXPECT_EQ(t_->RawText(c.field), c.stored) << c.value;
  }
}

TEST_F(FieldValuesTest, StoredNumbersSurviveCloseAndReopen) {
  ASSERT_TRUE(t_->SetDouble(kAmount, -1234.5).ok());
  ASSERT_TRUE(t_->SetLong(kQty, 777).ok());
  ASSERT_TRUE(t_->SetDouble(kRate, 0.25).ok());
  StoreAndReload();
  EXPECT_EQ(t_->Double(kAmount), -1234.5);
  EXPECT_EQ(t_->Long(kAmount), -1234);
  EXPECT_EQ(t_->Long(kQty), 777);
  EXPECT_EQ(t_->Double(kRate), 0.25);
}

TEST_F(FieldValuesTest, ValueTooWideIsRefusedNamingTableRecordAndField) {
  ASSERT_TRUE(t_->SetText(kName, "kept").ok());
  ASSERT_TRUE(t_->SetDouble(kAmount, 12.5).ok());
  ASSERT_TRUE(t_->SetLong(kQty, 12).ok());
  ASSERT_TRUE(t_->AppendBlank().ok());  // the refusals are tried on record 2
  ASSERT_TRUE(t_->SetDouble(kAmount, 12.5).ok());
  ASSERT_TRUE(t_->SetLong(kQty, 12).ok());
  const std::string before = std::string(t_->RawText(kAmount)) + std::string(t_->RawText(kQty));

  const struct {
    const char* what;
    Status status;
    const char* field;
  } cases[] = {
      {"double", t_->SetDouble(kAmount, 1e10), "AMOUNT"},
      {"double rounding up past the width", t_->SetDouble(kAmount, 999999999.995), "AMOUNT"},
      {"long", t_->SetLong(kQty, 123456), "QTY"},
      {"negative long", t_->SetLong(kQty, -12345), "QTY"},
      {"long into decimals", t_->SetLong(kAmount, 10000000000), "AMOUNT"},
      {"text", t_->SetText(kQty, "1234567"), "QTY"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.status.IsInvalidArgument()) << c.what << ": " << c.status.ToString();
    const std::string& m = c.status.message();
    EXPECT_NE(m.find("VALUES.dbf"), std::string::npos) << m;
    EXPECT_NE(m.find("record 2"), std::string::npos) << m;
    EXPECT_NE(m.find(c.field), std::string::npos) << m;
  }
  EXPECT_EQ(std::string(t_->RawText(kAmount)) + std::string(t_->RawText(kQty)), before);
  StoreAndReload();
  ASSERT_EQ(t_->Go(2), Table::kOnRecord);
  EXPECT_EQ(t_->Double(kAmount), 12.5);
  EXPECT_EQ(t_->Long(kQty), 12);
}

TEST_F(FieldValuesTest, LogicalsAreTrueOnlyForTAndY) {
  const struct {
    const char* stored;
    bool value;
  } cases[] = {{"T", true},  {"t", true},  {"Y", true},  {"y", true},  {" ", false},
               {"F", false}, {"f", false}, {"N", false}, {"?", false}, {"1", false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(t_->SetText(kDone, c.stored).ok());
    EXPECT_EQ(t_->True(kDone), c.value) << "'" << c.stored << "'";
  }
  ASSERT_TRUE(t_->SetLogical(kDone, true).ok());
  EXPECT_EQ(t_->RawText(kDone), "T");
  ASSERT_TRUE(t_->SetLogical(kDone, false).ok());
  EXPECT_EQ(t_->RawText(kDone), "F");
}

TEST_F(FieldValuesTest, TextIsStoredAsWindows1252AndReadBackAsUtf8) {
  ASSERT_TRUE(t_->SetText(kName, "é€“”").ok());
  EXPECT_EQ(t_->RawText(kName), std::string("\xE9\x80\x93\x94      "));
  StoreAndReload();
  EXPECT_EQ(t_->Text(kName), "é€“”      ");
  EXPECT_EQ(t_->RawText(kName), std::string("\xE9\x80\x93\x94      "));
}

TEST_F(FieldValuesTest, TextIsCutToTheFieldWidthInCharacters) {
  const struct {
    const char* utf8;
    const char* text;
  } cases[] = {
      {"abcdefghijklmnop", "abcdefghij"},
      {"ééééééééééééé", "éééééééééé"},  // 10 characters, 20 bytes of UTF-8
      {"€1234567890", "€123456789"},
      {"short", "short     "},
      {"Ωmega", "?mega     "},  // no Windows-1252 byte for it
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(t_->SetText(kName, c.utf8).ok()) << c.utf8;
    EXPECT_EQ(t_->Text(kName), c.text) << c.utf8;
    EXPECT_EQ(t_->RawText(kName).size(), 10u);
  }
}

TEST_F(FieldValuesTest, DatesAreStoredAsYearMonthDay) {
  ASSERT_TRUE(t_->SetText(kWhen, "20240229").ok());
  StoreAndReload();
  EXPECT_EQ(t_->Text(kWhen), "20240229");
  ASSERT_TRUE(t_->SetText(kWhen, "").ok());
  EXPECT_EQ(t_->RawText(kWhen), "        ");
}

TEST_F(FieldValuesTest, NothingCanBeSetAtEndOfFile) {
  EXPECT_EQ(t_->Skip(1), Table::kEndOfFile);
  EXPECT_TRUE(t_->SetText(kName, "x").IsInvalidArgument());
  EXPECT_TRUE(t_->SetDouble(kAmount, 1).IsInvalidArgument());
  EXPECT_TRUE(t_->Delete().IsInvalidArgument());
  EXPECT_EQ(t_->Text(kName), "          ");
}

}  // namespace
}  // namespace kpr::testing
