#include "ledger/pick_income_form.h"

#include "store/amount_text.h"
#include "store/data_store.h"
#include "store/locale_formats.h"

namespace kpr {

PickIncomeForm::PickIncomeForm(DataStore& store, int& selection, const int& default_folder,
                               QWidget* parent)
    : PickEntryForm(store, default_folder, "TPickInc", "Select Item", QSize(487, 402), 441,
                    {{"Date", 64},
                     {"Folder", 48},
                     {"Amount", 96},
                     {"Description", 240, true},
                     {"RecNo", 80}},
                    selection, parent) {
  NameButtons("Button1", "Button2", "Button3");
}

PickEntryForm::Source PickIncomeForm::source() const {
  const DataStore& s = store();
  return {s.inc5, s.tag_inc_date, s.inc_f.FolNo, s.inc_f.Archive};
}

QStringList PickIncomeForm::Row(uint32_t recno) {
  store().LoadIncome();
  const IncomeRecord& r = store().Income;
  return {r.IncDate.isValid() ? LocaleFormats::DateToText(r.IncDate.date()) : QString(),
          QString::number(r.FolNo), FormatNumber(r.IncAmt, "%12.2n"), r.IncDesc,
          QString::number(recno)};
}

}  // namespace kpr
