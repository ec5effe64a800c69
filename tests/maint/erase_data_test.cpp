#include "maint/erase_data.h"

#include <gtest/gtest.h>

#include "tests/support/data_dir.h"

namespace kpr {
namespace {

class EraseDataTest : public testing::DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    AddFolders({1, 2});
    AddAccounts(true, {1, 2});
    AddAccounts(false, {10});
    store_->OpenIncomes();
    ASSERT_TRUE(store_->inc5->AppendBlank().ok());
    store_->Income = {1, QDateTime(QDate(2026, 1, 1), QTime()), "x", 1.0, 1, false, false};
    ASSERT_TRUE(store_->StoreIncome().ok());
    store_->OpenExpenses();
    ASSERT_TRUE(store_->exp5->AppendBlank().ok());
    store_->Expense.ExpDate = QDateTime(QDate(2026, 1, 1), QTime());
    ASSERT_TRUE(store_->StoreExpense().ok());
    store_->CloseAll();
  }

  uint32_t Count(const char* table) {
    Table* t = store_->engine().Open(table);
    const uint32_t n = t->RecCount();
    store_->CloseAll();
    return n;
  }
};

struct EraseCase {
  std::vector<bool> answers;
  std::vector<QString> asked;
  std::map<std::string, uint32_t> counts;  // INC5 EXP5 ACCI ACC FOLDER
};

class EraseDataCases : public EraseDataTest, public ::testing::WithParamInterface<EraseCase> {};

TEST_P(EraseDataCases, AsksOnlyWhatMayBeErased) {
  for (bool a : GetParam().answers) ui_.Answer(a);
  EraseData(*store_);
  EXPECT_EQ(ui_.texts(), GetParam().asked);
  for (const auto& [table, n] : GetParam().counts) EXPECT_EQ(Count(table.c_str()), n) << table;
}

const QString kInc = "ERASE ALL INCOME DATA?";
const QString kExp = "ERASE ALL EXPENSE DATA?";
const QString kIncAcc = "ERASE ALL INCOME ACCOUNT DEFINITIONS?";
const QString kExpAcc = "ERASE ALL EXPENSE ACCOUNT DEFINITIONS?";
const QString kFol = "ERASE ALL FOLDER DEFINITIONS?";

INSTANTIATE_TEST_SUITE_P(
    Answers, EraseDataCases,
    ::testing::Values(
        EraseCase{{true, true, true, true, true},
                  {kInc, kExp, kIncAcc, kExpAcc, kFol},
                  {{"INC5", 0}, {"EXP5", 0}, {"ACCI", 0}, {"ACC", 0}, {"FOLDER", 0}}},
        EraseCase{{false, true, false},
                  {kInc, kExp, kExpAcc},
                  {{"INC5", 1}, {"EXP5", 0}, {"ACCI", 2}, {"ACC", 1}, {"FOLDER", 2}}},
        EraseCase{{false, false},
                  {kInc, kExp},
                  {{"INC5", 1}, {"EXP5", 1}, {"ACCI", 2}, {"ACC", 1}, {"FOLDER", 2}}},
        EraseCase{{true, true, false, false, true},
                  {kInc, kExp, kIncAcc, kExpAcc, kFol},
                  {{"INC5", 0}, {"EXP5", 0}, {"ACCI", 2}, {"ACC", 1}, {"FOLDER", 0}}}));

}  // namespace
}  // namespace kpr
