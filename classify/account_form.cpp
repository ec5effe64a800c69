#include "classify/account_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "classify/account_operations.h"
#include "store/amount_text.h"

namespace kpr {
namespace {
const char* const kBelowOne = "Account Number must be greater than zero.";
}

AccountForm::AccountForm(DataStore& store, int& selection, const QString& account_kind,
                         QWidget* parent)
    : DefinitionForm("TAccount", "Account Definition", QSize(374, 247), "Account Number:", "550",
                     store.ui(), parent),
      store_(store),
      selection_(selection),
      account_kind_(account_kind) {
  check_ = new QCheckBox("Tax Deductible", this);
  check_->setObjectName("CheckBox1");
  fields()->addWidget(check_, 2, 1);
}

// 0 (no free number left) shows an empty field.
void AccountForm::ShowNumber(int number) {
  number_edit()->setText(number > 0 ? QString::number(number) : QString());
}

void AccountForm::FormShow() {
  const AccountChart chart(account_kind_);
  AccountRecord& r = chart.buffer(store_);
  const bool existing = selection_ != 0;
  if (existing) {
    store_.LastResult = chart.table(store_)->Go(static_cast<uint32_t>(selection_));
    store_.engine().ExitTest();
    chart.Load(store_);
  } else {
    r = {NextAccountNumber(store_, chart), QString(), true};
  }
  loaded_no_ = r.AccNo;
  delete_button()->setVisible(existing);
  check_->setText(chart.FlagCaption());
  ShowNumber(r.AccNo);
  description_edit()->setText(r.AcDesc.trimmed());
  check_->setChecked(r.AcDed);
  number_edit()->setFocus();
}

bool AccountForm::NumberLeft(int number) {
  if (number < 1) {
    ui().Inform(kBelowOne);
    return false;
  }
  number_edit()->setText(PadNumber(number, 4));
  return true;
}

void AccountForm::Save() {
  const AccountChart chart(account_kind_);
  AccountRecord& r = chart.buffer(store_);
  const QString typed = number_edit()->text().trimmed();
  const int p = NumberValue(typed);
  if (p < 1) {
    ui().Inform(kBelowOne);
    RefocusNumber();
    return;
  }
  const QString name = description_edit()->text().trimmed();
  r.AcDesc = name;
  r.AcDed = check_->isChecked();
  if (selection_ == 0) {
    if (!AccountNumberFree(store_, chart, p)) {
      ui().Inform("Account number already exists.  Please enter a different number.");
      return;
    }
    r.AccNo = p;
    const uint32_t recno = AddAccount(store_, chart);
    if (recno == 0) {
      ui().Warn("Unable to Add Record at this time . . . ");
      return;
    }
    if (ui().AskYesNo("Add another account?")) {
      r.AccNo = NextAccountNumber(store_, chart);
      r.AcDesc.clear();
      ShowNumber(r.AccNo);
      description_edit()->clear();
      number_edit()->setFocus();
      return;
    }
    selection_ = static_cast<int>(recno);
  } else if (p == loaded_no_) {
    r.AccNo = p;
    StoreAccountAt(store_, chart, static_cast<uint32_t>(selection_));
  } else {
    const QString old = QString::number(loaded_no_);
    const uint32_t target = FindAccount(store_, chart, p);
    if (target == 0) {
      if (!ui().AskOkCancel(chart.RenumberPiece() + old + " will be moved to account number " +
                            typed + " AND Account Number " + old + " will no longer exist.")) {
        return;
      }
      r.AccNo = p;
      RenumberAccount(store_, chart, static_cast<uint32_t>(selection_), loaded_no_);
    } else {
      if (!ui().AskOkCancel("ACCOUNT NUMBER " + typed + " ALREADY EXISTS.\r\n\r\nIf you continue," +
                            chart.MergePiece() + old + " will be merged into account " + typed +
                            " which will be renamed to " + name)) {
        return;
      }
      r.AccNo = p;
      MergeAccount(store_, chart, static_cast<uint32_t>(selection_), loaded_no_, target);
    }
  }
  accept();
}

void AccountForm::Delete() {
  const AccountChart chart(account_kind_);
  if (!ui().Message(UiServices::Kind::kWarning, UiServices::Buttons::kYesNo,
                    chart.DeleteWarning())) {
    return;
  }
  DeleteAccountCascade(store_, chart, loaded_no_, static_cast<uint32_t>(selection_));
  selection_ = 0;
  accept();
}

}  // namespace kpr
