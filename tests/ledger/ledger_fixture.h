// Fixture for the ledger tests: a data directory with folders 1, 2 and
// 5, income accounts 3 and 7, expense accounts 4 and 9, and records
// written and read back with the engine.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "store/clock.h"
#include "store/locale_formats.h"
#include "tests/support/data_dir.h"
#include "tools/data_check.h"

namespace kpr::testing {

class LedgerFixture : public DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    LocaleFormats::SetForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
    AddFolders({1, 2, 5});
    AddAccounts(true, {3, 7});
    AddAccounts(false, {4, 9});
  }
  void TearDown() override {
    LocaleFormats::ResetForTesting();
    Clock::Reset();
  }

  // Appends one income record; returns its record number.
  uint32_t AddIncome(QDate date, int folder, double amount, const QString& desc,
                     bool archived = false, bool imported = false) {
    store_->OpenIncomes();
    EXPECT_TRUE(store_->inc5->AppendBlank().ok());
    store_->Income = {3, QDateTime(date, QTime(0, 0)), desc, amount, folder, imported, archived};
    EXPECT_TRUE(store_->StoreIncome().ok());
    const uint32_t recno = store_->inc5->RecNo();
    store_->CloseAll();
    return recno;
  }

  // The record as the engine reads it back.
  IncomeRecord Read(uint32_t recno) {
    store_->OpenIncomes();
    store_->inc5->Go(recno);
    store_->LoadIncome();
    IncomeRecord r = store_->Income;
    store_->CloseAll();
    return r;
  }
  bool Deleted(uint32_t recno) {
    store_->OpenIncomes();
    store_->inc5->Go(recno);
    const bool d = store_->inc5->Deleted();
    store_->CloseAll();
    return d;
  }
  uint32_t Count() {
    store_->OpenIncomes();
    const uint32_t n = store_->inc5->RecCount();
    store_->CloseAll();
    return n;
  }

  // Appends one expense record; returns its record number.
  uint32_t AddExpense(QDate date, int account, int folder, double amount, const QString& pay_to,
                      int check = 0, bool archived = false) {
    store_->OpenExpenses();
    EXPECT_TRUE(store_->exp5->AppendBlank().ok());
    store_->Expense = {QDateTime(date, QTime(0, 0)), check, account, folder, pay_to, amount,
                       "memo", archived};
    EXPECT_TRUE(store_->StoreExpense().ok());
    const uint32_t recno = store_->exp5->RecNo();
    store_->CloseAll();
    return recno;
  }
  ExpenseRecord ReadExpense(uint32_t recno) {
    store_->OpenExpenses();
    store_->exp5->Go(recno);
    store_->LoadExpense();
    ExpenseRecord r = store_->Expense;
    store_->CloseAll();
    return r;
  }
  bool ExpenseDeleted(uint32_t recno) {
    store_->OpenExpenses();
    store_->exp5->Go(recno);
    const bool d = store_->exp5->Deleted();
    store_->CloseAll();
    return d;
  }
  uint32_t ExpenseCount() {
    store_->OpenExpenses();
    const uint32_t n = store_->exp5->RecCount();
    store_->CloseAll();
    return n;
  }

  void OpenForExpense() {
    store_->OpenExpenses();
    store_->OpenFolders();
    store_->OpenExpenseAccounts();
  }

  void OpenForIncome() {
    store_->OpenIncomes();
    store_->OpenFolders();
    store_->OpenIncomeAccounts();
  }

  // Closes every table and checks that every tag agrees with its table.
  void ExpectConsistent() {
    store_->CloseAll();
    EXPECT_EQ(CheckDataDirectory(dir_.path()), std::vector<std::string>{});
  }
};

}  // namespace kpr::testing
