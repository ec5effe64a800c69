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
    : PickListForm("TPickInc", "Select Item", QSize(487, 402), 441,
                   {{"Date", 64}, {"Folder", 48}, {"Amount", 96}, {"Description", 240},
                    {"RecNo", 80}},
                   selection, parent),
      store_(store),
      default_folder_(default_folder) {
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

void PickIncomeForm::FormShow() {
  std::vector<QStringList> rows;
  Table* t = store_.inc5;
  t->SelectTag(store_.tag_inc_date);
  const int folder = default_folder_;
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    if (t->Deleted()) continue;
    store_.LoadIncome();
    const IncomeRecord& r = store_.Income;
    if (r.Archive || (folder != -1 && r.FolNo != folder)) continue;
    rows.push_back({LocaleFormats::DateToText(r.IncDate.date()), QString::number(r.FolNo),
                    FormatNumber(r.IncAmt, "%12.2n"), r.IncDesc, QString::number(t->RecNo())});
  }
  const int count = static_cast<int>(rows.size());
  Fill(std::move(rows));
  if (count > 0 && selection_ < 1) set_current_row(count - 1);
}

}  // namespace kpr
