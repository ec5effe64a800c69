#include "ledger/expense_form.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "classify/definition_form.h"
#include "store/amount_text.h"
#include "store/clock.h"
#include "store/conversion_error.h"
#include "store/data_store.h"

namespace kpr {

ExpenseForm::ExpenseForm(DataStore& store, int& selection, const int& default_folder,
                         QWidget* parent)
    : EntryForm(store, selection, default_folder,
                {"TExpense", "Expense", QSize(511, 300), "530", "Add another expense record?"},
                parent) {
  // Up to eight digits, kept right-aligned; blanks may pad them.
  check_ = new QLineEdit(this);
  check_->setObjectName("MaskEdit1");
  check_->setMaxLength(8);
  check_->setAlignment(Qt::AlignRight);
  check_->setValidator(new QRegularExpressionValidator(QRegularExpression("[ 0-9]{0,8}"), check_));
  check_->setFixedWidth(check_->fontMetrics().horizontalAdvance("999999999") + 16);
  check_->installEventFilter(this);
  AddField("Check No:", check_);
  AddField("Date:", MakeDateEdit("MaskEdit2"));
  pay_to_ = MakeTextEdit("Edit1", 30);
  AddField("Pay to:", pay_to_);
  AddField("Amount:", MakeAmountEdit("MaskEdit3"));
  memo_ = MakeTextEdit("Edit2", 30);
  AddField("Memo:", memo_);
  FinishLayout("Folder:");
}

Table* ExpenseForm::table() const { return store().exp5; }

QWidget* ExpenseForm::first_field() const { return check_; }

void ExpenseForm::LoadRecord() { store().LoadExpense(); }

void ExpenseForm::NewRecord() {
  ExpenseRecord& r = store().Expense;
  r = ExpenseRecord{};
  r.ExpDate = Clock::Now();
  r.FolNo = default_folder();
}

void ExpenseForm::ShowRecord() {
  const ExpenseRecord& r = store().Expense;
  check_->setText(QString::number(r.CheckNo));
  ShowDate(r.ExpDate);
  ShowAmount(r.Amount);
  pay_to_->setText(r.PayTo.trimmed());
  memo_->setText(r.EMemo.trimmed());
}

void ExpenseForm::FillBoxes() {
  DataStore& s = store();
  FillChoices(account_box(), s.acc, s.tag_acc, s.acc_f.AccNo, s.acc_f.AcDesc, s.Expense.AccNo,
              "Expense Accounts must be defined before entering Expense Records");
  FillChoices(folder_box(), s.folder, s.tag_folder, s.fol_f.FolNo, s.fol_f.FolName, s.Expense.FolNo,
              "Folders must be defined before entering Expense Records");
}

bool ExpenseForm::MaskEdit1Exit() {
  try {
    check_->setText(PadNumber(DefinitionForm::NumberValue(check_->text()), 8));
    return true;
  } catch (const ConversionError& e) {
    store().ui().Warn(e.message());
    return false;
  }
}

void ExpenseForm::FieldLeft(QObject* field) {
  if (field == check_) MaskEdit1Exit();
}

void ExpenseForm::ReadFields() {
  ExpenseRecord r = store().Expense;
  r.CheckNo = DefinitionForm::NumberValue(check_->text());
  r.ExpDate = DateValue();
  r.PayTo = pay_to_->text().trimmed();
  r.Amount = AmountValue();
  r.EMemo = memo_->text().trimmed();
  r.AccNo = ItemNumber(account_box());
  r.FolNo = ItemNumber(folder_box());
  r.Archive = false;
  store().Expense = r;
}

Status ExpenseForm::StoreRecord() { return store().StoreExpense(); }

void ExpenseForm::ClearForAnother() {
  ExpenseRecord& r = store().Expense;
  r.CheckNo = 0;
  r.PayTo.clear();
  r.Amount = 0;
  r.EMemo.clear();
  check_->setText("0");
  ShowAmount(0);
  pay_to_->clear();
  memo_->clear();
  check_->setFocus();
}

}  // namespace kpr
