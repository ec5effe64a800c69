#include "maint/erase_data.h"

namespace kpr {
namespace {

// Empties the open table; false (with a warning) when the engine could not.
bool Zap(DataStore& store, Table* table) {
  Status s = table->Zap();
  if (!s.ok()) {
    store.ui().Warn("Unable to erase " + QString::fromStdString(table->file_name()) + ": " +
                    QString::fromStdString(s.message()));
  }
  return s.ok();
}

}  // namespace

void EraseData(DataStore& store) {
  UiServices& ui = store.ui();
  bool incomes_erased = false;
  bool expenses_erased = false;
  if (ui.AskOkCancel("ERASE ALL INCOME DATA?")) {
    store.OpenIncomes();
    incomes_erased = Zap(store, store.inc5);
    store.CloseAll();
  }
  if (ui.AskOkCancel("ERASE ALL EXPENSE DATA?")) {
    store.OpenExpenses();
    expenses_erased = Zap(store, store.exp5);
    store.CloseAll();
  }
  if (incomes_erased && ui.AskOkCancel("ERASE ALL INCOME ACCOUNT DEFINITIONS?")) {
    store.OpenIncomeAccounts();
    Zap(store, store.acci);
    store.CloseAll();
  }
  if (expenses_erased && ui.AskOkCancel("ERASE ALL EXPENSE ACCOUNT DEFINITIONS?")) {
    store.OpenExpenseAccounts();
    Zap(store, store.acc);
    store.CloseAll();
  }
  if (incomes_erased && expenses_erased && ui.AskOkCancel("ERASE ALL FOLDER DEFINITIONS?")) {
    store.OpenFolders();
    Zap(store, store.folder);
    store.CloseAll();
  }
}

}  // namespace kpr
