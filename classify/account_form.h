// TAccount: the account definition form of the chart AccountKind names.
// Opens on the account whose record number is SelAccount, or on a new
// account when it is 0; Save adds, changes, renumbers or merges, Delete
// removes the account with its records. It leaves SelAccount on the record
// it saved (0 after a delete).
// REQUIRES while shown: the chart's table open.
#pragma once

#include "classify/definition_form.h"

class QCheckBox;

namespace kpr {

class DataStore;

class AccountForm : public DefinitionForm {
  Q_OBJECT
 public:
  // selection: SelAccount; account_kind: AccountKind, read on every show.
  AccountForm(DataStore& store, int& selection, const QString& account_kind,
              QWidget* parent = nullptr);
  void FormShow() override;
  QCheckBox* flag_box() const { return check_; }

 protected:
  bool NumberLeft(int number) override;
  void Save() override;
  void Delete() override;

 private:
  void ShowNumber(int number);

  DataStore& store_;
  int& selection_;
  const QString& account_kind_;
  QCheckBox* check_;
  int loaded_no_ = 0;  // AccNo as loaded on show
};

}  // namespace kpr
