// TExpense: the expense edit form on EXP5, with the expense accounts of ACC.
// Besides what the income form has, a check number (up to eight digits,
// 0 for none), the payee and a memo.
// REQUIRES while shown: EXP5, ACC and FOLDER open.
#pragma once

#include "ledger/entry_form.h"

namespace kpr {

class ExpenseForm : public EntryForm {
  Q_OBJECT
 public:
  // selection: SelExpense; default_folder: DefaultFolder, read at each show.
  ExpenseForm(DataStore& store, int& selection, const int& default_folder,
              QWidget* parent = nullptr);

  QLineEdit* check_edit() const { return check_; }
  QLineEdit* pay_to_edit() const { return pay_to_; }
  QLineEdit* memo_edit() const { return memo_; }

  // Event handlers of the fields. The check number is written back
  // right-aligned in eight places; false when it is not an integer (after
  // the conversion error; the field keeps its text).
  bool MaskEdit1Exit();
  bool MaskEdit2Exit() { return DateExit(); }  // false: invalid date, the focus goes back
  void MaskEdit3Exit() { AmountExit(); }

 protected:
  Table* table() const override;
  void LoadRecord() override;
  void NewRecord() override;
  void ShowRecord() override;
  void FillBoxes() override;
  QWidget* first_field() const override;
  void ReadFields() override;
  Status StoreRecord() override;
  void ClearForAnother() override;
  void FieldLeft(QObject* field) override;

 private:
  QLineEdit* check_;
  QLineEdit* pay_to_;
  QLineEdit* memo_;
};

}  // namespace kpr
