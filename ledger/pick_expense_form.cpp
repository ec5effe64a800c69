#include "ledger/pick_expense_form.h"

#include "store/amount_text.h"
#include "store/data_store.h"
#include "store/locale_formats.h"

namespace kpr {

PickExpenseForm::PickExpenseForm(DataStore& store, int& selection, const int& default_folder,
                                 QWidget* parent)
    : PickEntryForm(store, default_folder, "TPickExp", "Select Expense", QSize(527, 402), 481,
                    {{"Date", 64},
                     {"Acc#", 32},
                     {"Fol#", 32},
                     {"Check#", 64},
                     // Every amount the field holds, whole.
                     {"Amount", 72, false, "-999,999.99"},
                     {"Paid To", 240, true},
                     {"RecNo", 80}},
                    selection, parent) {}

PickEntryForm::Source PickExpenseForm::source() const {
  const DataStore& s = store();
  return {s.exp5, s.tag_exp_date, s.exp_f.FolNo, s.exp_f.Archive};
}

QStringList PickExpenseForm::Row(uint32_t recno) {
  store().LoadExpense();
  const ExpenseRecord& r = store().Expense;
  return {r.ExpDate.isValid() ? LocaleFormats::DateToText(r.ExpDate.date()) : QString(),
          QString::number(r.AccNo),
          QString::number(r.FolNo),
          QString::number(r.CheckNo),
          FormatNumber(r.Amount, "%12.2n"),
          r.PayTo,
          QString::number(recno)};
}

}  // namespace kpr
