#include "tests/support/data_dir.h"

#include <gtest/gtest.h>

#include "store/installed_tables.h"

namespace kpr::testing {

void CreateDataDir(const std::string& dir) {
  ASSERT_TRUE(CreateEmptyTables(FileSystem::Default(), dir).ok());
  ScriptedUi ui;
  DataStore store(dir, &ui);
  store.RebuildIndexes(false);
}

void DataDirFixture::SetUp() {
  CreateDataDir(dir_.path());
  store_ = std::make_unique<DataStore>(dir_.path(), &ui_);
  store_->engine().set_exit_handler([](const std::string& m) { throw ProgramExit{m}; });
  ui_.Clear();
}

void DataDirFixture::AddFolders(const std::vector<int>& numbers) {
  store_->OpenFolders();
  for (int n : numbers) {
    ASSERT_TRUE(store_->folder->AppendBlank().ok());
    store_->Folder = {n, QString("Folder %1").arg(n)};
    ASSERT_TRUE(store_->StoreFolder().ok());
  }
  store_->CloseAll();
}

void DataDirFixture::AddAccounts(bool income_chart, const std::vector<int>& numbers) {
  if (income_chart) {
    store_->OpenIncomeAccounts();
  } else {
    store_->OpenExpenseAccounts();
  }
  Table* t = income_chart ? store_->acci : store_->acc;
  AccountRecord& r = income_chart ? store_->IncomeAccount : store_->ExpenseAccount;
  for (int n : numbers) {
    ASSERT_TRUE(t->AppendBlank().ok());
    r = {n, QString("Account %1").arg(n), n % 2 == 0};
    ASSERT_TRUE((income_chart ? store_->StoreIncomeAccount() : store_->StoreExpenseAccount()).ok());
  }
  store_->CloseAll();
}

}  // namespace kpr::testing
