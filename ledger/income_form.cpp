#include "ledger/income_form.h"

#include <QComboBox>
#include <QLineEdit>

#include "store/clock.h"
#include "store/data_store.h"

namespace kpr {

IncomeForm::IncomeForm(DataStore& store, int& selection, const int& default_folder,
                       QWidget* parent)
    : EntryForm(store, selection, default_folder,
                {"TIncome", "Income", QSize(435, 273), "510", "Add another income record?"},
                parent) {
  AddField("Date:", MakeDateEdit("MaskEdit1"));
  AddField("Amount:", MakeAmountEdit("MaskEdit2"));
  desc_ = MakeTextEdit("Edit1", 30);
  AddField("Description:", desc_);
  FinishLayout("Folder");
}

Table* IncomeForm::table() const { return store().inc5; }

QWidget* IncomeForm::first_field() const { return date_edit(); }

void IncomeForm::LoadRecord() { store().LoadIncome(); }

void IncomeForm::NewRecord() {
  store().Income = {0, Clock::Now(), QString(), 0.0, default_folder(), false, false};
}

void IncomeForm::ShowRecord() {
  const IncomeRecord& r = store().Income;
  ShowDate(r.IncDate);
  ShowAmount(r.IncAmt);
  desc_->setText(r.IncDesc.trimmed());
}

void IncomeForm::FillBoxes() {
  DataStore& s = store();
  FillChoices(account_box(), s.acci, s.tag_acci, s.acci_f.AccNo, s.acci_f.AcDesc, s.Income.IncAcc,
              "Income Accounts must be defined before entering Income Records");
  FillChoices(folder_box(), s.folder, s.tag_folder, s.fol_f.FolNo, s.fol_f.FolName, s.Income.FolNo,
              "Folders must be defined before entering Income Records");
}

void IncomeForm::ReadFields() {
  IncomeRecord r = store().Income;
  r.IncAcc = ItemNumber(account_box());
  r.IncDate = DateValue();
  r.IncAmt = AmountValue();
  r.IncDesc = desc_->text().trimmed();
  r.FolNo = ItemNumber(folder_box());
  r.Archive = false;
  store().Income = r;
}

Status IncomeForm::StoreRecord() { return store().StoreIncome(); }

void IncomeForm::ClearForAnother() {
  store().Income.IncAmt = 0;
  store().Income.IncDesc.clear();
  ShowAmount(0);
  desc_->clear();
  date_edit()->setFocus();
}

}  // namespace kpr
