#include "classify/account_chart.h"

#include "classify/record_walk.h"

namespace kpr {

bool AccountChart::Open(DataStore& store) const {
  return expense_ ? store.OpenExpenseAccounts() : store.OpenIncomeAccounts();
}

void AccountChart::Load(DataStore& store) const {
  expense_ ? store.LoadExpenseAccount() : store.LoadIncomeAccount();
}

Status AccountChart::Store(DataStore& store) const {
  return expense_ ? store.StoreExpenseAccount() : store.StoreIncomeAccount();
}

Table* AccountChart::OpenRecords(DataStore& store, int* account_field) const {
  if (expense_) {
    store.OpenExpenses();
    *account_field = store.exp_f.AccNo;
    return store.exp5;
  }
  store.OpenIncomes();
  *account_field = store.inc_f.IncAcc;
  return store.inc5;
}

void AccountChart::CloseRecords(DataStore& store) const {
  if (expense_) {
    store.tag_exp_date = store.tag_exp_acc = nullptr;
    CloseAndTest(store, store.exp5);
  } else {
    store.tag_inc_date = store.tag_inc_acc = nullptr;
    CloseAndTest(store, store.inc5);
  }
}

QString AccountChart::RenumberPiece() const {
  return expense_ ? "ACCOUNT NUMBER CHANGED!\r\n\r\nIf you continue, all expenses in account "
                  : "ACCOUNT NUMBER CHANGED!\r\n\r\nIf you continue, all income in account ";
}

QString AccountChart::MergePiece() const {
  return expense_ ? " all expenses in account " : " all income in account ";
}

QString AccountChart::DeleteWarning() const {
  return QString("WARNING: All %1 assigned to this account will be deleted.\r\n\r\nARE YOU SURE "
                 "YOU WANT TO DELETE THIS ACCOUNT?")
      .arg(expense_ ? "expenses" : "income");
}

}  // namespace kpr
