#include "classify/folder_form.h"

#include <QLineEdit>
#include <QPushButton>

#include "classify/folder_operations.h"
#include "store/amount_text.h"
#include "store/data_store.h"

namespace kpr {
namespace {
const char* const kBelowOne = "Folder Number must be greater than zero.";
}

FolderForm::FolderForm(DataStore& store, int& selection, QWidget* parent)
    : DefinitionForm("TFolderF", "Folder Definition", QSize(376, 194), "Folder Number:", "570",
                     store.ui(), parent),
      store_(store),
      selection_(selection) {}

void FolderForm::FormShow() {
  const bool existing = selection_ != 0;
  if (existing) {
    store_.LastResult = store_.folder->Go(static_cast<uint32_t>(selection_));
    store_.engine().ExitTest();
    store_.LoadFolder();
  } else {
    store_.Folder = {store_.NextFolderNumber(), QString()};
  }
  loaded_no_ = store_.Folder.FolNo;
  delete_button()->setVisible(existing);
  number_edit()->setText(QString::number(store_.Folder.FolNo));
  description_edit()->setText(store_.Folder.FolName.trimmed());
  // A new folder always gets the number shown.
  number_edit()->setEnabled(existing);
  (existing ? number_edit() : description_edit())->setFocus();
}

bool FolderForm::NumberLeft(int number) {
  if (number < 1) {
    ui().Inform(kBelowOne);
    return false;
  }
  number_edit()->setText(PadNumber(number, 4));
  return true;
}

void FolderForm::Save() {
  const QString name = description_edit()->text().trimmed();
  const QString typed = number_edit()->text().trimmed();
  const int n = NumberValue(typed);
  if (selection_ == 0) {
    const uint32_t recno = AddFolder(store_, name);
    if (recno == 0) {
      ui().Warn("Unable to Add Record at this time . . . ");
      return;
    }
    if (ui().AskYesNo("Add another folder?")) {
      store_.Folder = {store_.NextFolderNumber(), QString()};
      number_edit()->setText(QString::number(store_.Folder.FolNo));
      description_edit()->clear();
      description_edit()->setFocus();
      return;
    }
    selection_ = static_cast<int>(recno);
  } else if (n < 1) {
    ui().Inform(kBelowOne);
    RefocusNumber();
    return;
  } else if (n == loaded_no_) {
    StoreFolderAt(store_, static_cast<uint32_t>(selection_), n, name);
  } else {
    const QString old = QString::number(loaded_no_);
    const uint32_t target = FindFolder(store_, n);
    if (target == 0) {
      if (!ui().AskOkCancel("FOLDER NUMBER CHANGED!\r\n\r\nIf you continue, all income and "
                            "expenses in folder " + old + " will be assigned to folder number " +
                            typed + " AND Folder Number " + old + " will no longer exist.")) {
        return;
      }
      RenumberFolder(store_, static_cast<uint32_t>(selection_), loaded_no_, n, name);
    } else {
      if (!ui().AskOkCancel("FOLDER NUMBER " + typed + " ALREADY EXISTS.\r\n\r\nIf you continue, "
                            "all income and expenses in folder " + old +
                            " will be merged into folder number " + typed +
                            " which will be renamed to " + name)) {
        return;
      }
      MergeFolder(store_, static_cast<uint32_t>(selection_), loaded_no_, target, n, name);
    }
  }
  accept();
}

void FolderForm::Delete() {
  if (!ui().Message(UiServices::Kind::kWarning, UiServices::Buttons::kYesNo,
                    "WARNING: All income and expenses assigned to this folder will be deleted."
                    "\r\n\r\nARE YOU SURE YOU WANT TO DELETE THIS FOLDER?")) {
    return;
  }
  DeleteFolderCascade(store_, loaded_no_, static_cast<uint32_t>(selection_));
  selection_ = 0;
  accept();
}

}  // namespace kpr
