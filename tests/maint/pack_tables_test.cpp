#include "maint/pack_tables.h"

#include <gtest/gtest.h>

#include "tests/support/data_dir.h"

namespace kpr {
namespace {

class PackTablesTest : public testing::DataDirFixture {
 protected:
  void AddIncomes(int n) {
    store_->OpenIncomes();
    for (int i = 1; i <= n; ++i) {
      ASSERT_TRUE(store_->inc5->AppendBlank().ok());
      store_->Income = {i % 3 + 1, QDateTime(QDate(2026, 1, i), QTime()), QString("Income %1").arg(i),
                        i * 10.0, 1, false, false};
      ASSERT_TRUE(store_->StoreIncome().ok());
    }
    store_->CloseAll();
  }

  std::vector<QString> WalkIncomes(Tag* DataStore::*tag) {
    std::vector<QString> out;
    store_->OpenIncomes();
    store_->inc5->SelectTag(store_.get()->*tag);
    for (int r = store_->inc5->Top(); r != Table::kEndOfFile; r = store_->inc5->Skip(1)) {
      store_->LoadIncome();
      out.push_back(store_->Income.IncDesc.trimmed());
    }
    store_->CloseAll();
    return out;
  }
};

TEST_F(PackTablesTest, RemovesDeletedIncomeFromFileAndBothTags) {
  AddIncomes(5);
  store_->OpenIncomes();
  store_->inc5->Go(2);
  ASSERT_TRUE(store_->inc5->Delete().ok());
  store_->CloseAll();

  PackTables(*store_);

  const std::vector<QString> want = {"Income 1", "Income 3", "Income 4", "Income 5"};
  EXPECT_EQ(WalkIncomes(&DataStore::tag_inc_date), want);
  auto by_account = WalkIncomes(&DataStore::tag_inc_acc);
  std::sort(by_account.begin(), by_account.end());
  EXPECT_EQ(by_account, want);
  store_->OpenIncomes();
  EXPECT_EQ(store_->inc5->RecCount(), 4u);
  store_->CloseAll();

  const std::vector<QString> progress = {"show:Packing Data Files", "10", "40", "50", "90", "95",
                                         "100", "hide"};
  EXPECT_EQ(ui_.progress(), progress);
  EXPECT_EQ(store_->engine().access_mode(), 0);
  EXPECT_TRUE(ui_.texts().empty());
}

TEST_F(PackTablesTest, TableThatCannotBeOpenedIsSkipped) {
  AddIncomes(2);
  ASSERT_EQ(std::remove(Path("FOLDER.dbf").c_str()), 0);
  PackTables(*store_);
  EXPECT_EQ(store_->engine().error_code(), 0);
  EXPECT_EQ(WalkIncomes(&DataStore::tag_inc_date).size(), 2u);
  EXPECT_EQ(ui_.progress().back(), "hide");
}

}  // namespace
}  // namespace kpr
