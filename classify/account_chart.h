// One of the two charts of accounts, chosen by AccountKind: "E" the expense
// chart (ACC, whose records follow into EXP5), any other value the income
// chart (ACCI, followed by INC5). Gives the chart's table, fields, record
// buffer and the texts that differ between the charts.
#pragma once

#include <QString>

#include "store/data_store.h"

namespace kpr {

class AccountChart {
 public:
  explicit AccountChart(const QString& account_kind) : expense_(account_kind == "E") {}

  bool expense() const { return expense_; }
  // REQUIRES: the chart's table open.
  Table* table(DataStore& store) const { return expense_ ? store.acc : store.acci; }
  Tag* tag(DataStore& store) const { return expense_ ? store.tag_acc : store.tag_acci; }
  const DataStore::AccountFields& fields(DataStore& store) const {
    return expense_ ? store.acc_f : store.acci_f;
  }
  AccountRecord& buffer(DataStore& store) const {
    return expense_ ? store.ExpenseAccount : store.IncomeAccount;
  }
  bool Open(DataStore& store) const;
  void Load(DataStore& store) const;
  Status Store(DataStore& store) const;

  // Opens the records that carry this chart's accounts (EXP5 or INC5);
  // returns the table and the field number of its account field.
  Table* OpenRecords(DataStore& store, int* account_field) const;
  // Closes them again, with the exit test.
  void CloseRecords(DataStore& store) const;

  // Texts.
  QString FlagHeading() const { return expense_ ? "Deduct" : "Taxable"; }
  QString FlagCaption() const { return expense_ ? "Tax Deductible" : "Taxable"; }
  QString RenumberPiece() const;
  QString MergePiece() const;
  QString DeleteWarning() const;

 private:
  bool expense_;
};

}  // namespace kpr
