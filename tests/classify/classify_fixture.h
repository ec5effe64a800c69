// Fixture for the classification tests: a data directory with folders,
// accounts of both charts and income and expense records, read back with the
// engine in record order.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <string>
#include <vector>

#include "tests/support/data_dir.h"
#include "tools/data_check.h"

namespace kpr::testing {

// One income or expense record as the tests see it.
struct Entry {
  int folder;
  int account;
  bool archived = false;
  bool deleted = false;
  bool operator==(const Entry&) const = default;
};

inline void PrintTo(const Entry& e, std::ostream* os) {
  *os << "{fol " << e.folder << ", acc " << e.account << (e.archived ? ", archived" : "")
      << (e.deleted ? ", deleted" : "") << "}";
}

// A live or deleted folder or account record.
struct Class {
  int number;
  std::string name;
  bool deleted = false;
  bool operator==(const Class&) const = default;
};

inline void PrintTo(const Class& c, std::ostream* os) {
  *os << "{" << c.number << " '" << c.name << "'" << (c.deleted ? " deleted" : "") << "}";
}

// Expected tables for the cases: `v` with item i replaced, with the entries'
// `field` (&Entry::folder or &Entry::account) moved from one number to
// another, or with the entries of a number marked deleted.
inline std::vector<Class> With(std::vector<Class> v, size_t i, Class c) {
  v[i] = std::move(c);
  return v;
}
inline std::vector<Entry> Moved(std::vector<Entry> v, int Entry::*field, int from, int to) {
  for (Entry& e : v) {
    if (e.*field == from) e.*field = to;
  }
  return v;
}
inline std::vector<Entry> Dropped(std::vector<Entry> v, int Entry::*field, int number) {
  for (Entry& e : v) {
    if (e.*field == number) e.deleted = true;
  }
  return v;
}

class ClassifyFixture : public DataDirFixture {
 protected:
  void AddEntries(bool income, const std::vector<Entry>& entries) {
    income ? store_->OpenIncomes() : store_->OpenExpenses();
    Table* t = income ? store_->inc5 : store_->exp5;
    int day = 1;
    for (const Entry& e : entries) {
      ASSERT_TRUE(t->AppendBlank().ok());
      const QDateTime date(QDate(2026, 3, day++ % 28 + 1), QTime(0, 0));
      if (income) {
        store_->Income = {e.account, date, "income", 10.0, e.folder, false, e.archived};
        ASSERT_TRUE(store_->StoreIncome().ok());
      } else {
        store_->Expense = {date, 0, e.account, e.folder, "payee", 5.0, "memo", e.archived};
        ASSERT_TRUE(store_->StoreExpense().ok());
      }
      if (e.deleted) {
        ASSERT_TRUE(t->Delete().ok());
      }
    }
    store_->CloseAll();
  }

  // Every record of INC5 or EXP5 in record order.
  std::vector<Entry> Entries(bool income) {
    income ? store_->OpenIncomes() : store_->OpenExpenses();
    Table* t = income ? store_->inc5 : store_->exp5;
    const int fol = income ? store_->inc_f.FolNo : store_->exp_f.FolNo;
    const int acc = income ? store_->inc_f.IncAcc : store_->exp_f.AccNo;
    const int arch = income ? store_->inc_f.Archive : store_->exp_f.Archive;
    std::vector<Entry> out;
    for (uint32_t r = 1; r <= t->RecCount(); ++r) {
      t->Go(r);
      out.push_back({static_cast<int>(t->Long(fol)), static_cast<int>(t->Long(acc)), t->True(arch),
                     t->Deleted()});
    }
    store_->CloseAll();
    return out;
  }

  // Every record of FOLDER ("F"), ACC ("E") or ACCI ("I") in record order.
  std::vector<Class> Classes(const std::string& which) {
    Table* t = nullptr;
    int no = 0, name = 0;
    if (which == "F") {
      store_->OpenFolders();
      t = store_->folder;
      no = store_->fol_f.FolNo;
      name = store_->fol_f.FolName;
    } else {
      which == "E" ? store_->OpenExpenseAccounts() : store_->OpenIncomeAccounts();
      t = which == "E" ? store_->acc : store_->acci;
      const auto& f = which == "E" ? store_->acc_f : store_->acci_f;
      no = f.AccNo;
      name = f.AcDesc;
    }
    std::vector<Class> out;
    for (uint32_t r = 1; r <= t->RecCount(); ++r) {
      t->Go(r);
      std::string text = t->Text(name);
      text.erase(text.find_last_not_of(' ') + 1);
      out.push_back({static_cast<int>(t->Long(no)), text, t->Deleted()});
    }
    store_->CloseAll();
    return out;
  }

  // Closes every table and checks that every tag agrees with its table.
  void ExpectConsistent() {
    store_->CloseAll();
    EXPECT_EQ(CheckDataDirectory(dir_.path()), std::vector<std::string>{});
  }
};

}  // namespace kpr::testing
