// TIncome: the income edit form on INC5, with the income accounts of ACCI.
// REQUIRES while shown: INC5, ACCI and FOLDER open.
#pragma once

#include "ledger/entry_form.h"

namespace kpr {

class IncomeForm : public EntryForm {
  Q_OBJECT
 public:
  // selection: SelIncome; default_folder: DefaultFolder, read at each show.
  IncomeForm(DataStore& store, int& selection, const int& default_folder,
             QWidget* parent = nullptr);

  QLineEdit* description_edit() const { return desc_; }

  // Event handlers of the fields.
  bool MaskEdit1Exit() { return DateExit(); }  // false: invalid date, the focus goes back
  void MaskEdit2Exit() { AmountExit(); }

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

 private:
  QLineEdit* desc_;
};

}  // namespace kpr
