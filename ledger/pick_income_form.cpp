#include "ledger/pick_income_form.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "store/amount_text.h"
#include "store/data_store.h"
#include "store/locale_formats.h"

namespace kpr {

PickIncomeForm::PickIncomeForm(DataStore& store, int& selection, const int& default_folder,
                               QWidget* parent)
    : PickEntryForm(store, default_folder, "TPickInc", "Select Item", QSize(487, 402), 441,
                    {{"Date", 64}, {"Folder", 48}, {"Amount", 96}, {"Description", 240},
                     {"RecNo", 80}},
                    selection, parent) {
  // The description, not the folder column, takes what the grid leaves.
  QHeaderView* header = grid()->horizontalHeader();
  header->setSectionResizeMode(1, QHeaderView::Interactive);
  grid()->setColumnWidth(1, 48);
  header->setSectionResizeMode(3, QHeaderView::Stretch);
  const char* names[][2] = {{"BtnSelect", "Button1"}, {"BtnNew", "Button2"}, {"BtnExit", "Button3"}};
  for (const auto& n : names) {
    if (auto* b = findChild<QPushButton*>(n[0])) b->setObjectName(n[1]);
  }
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
