#include "ledger/pick_income_form.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "classify/pick_list_model.h"
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
  recnos_.clear();
  Table* t = store_.inc5;
  t->SelectTag(store_.tag_inc_date);
  const int folder = default_folder_;
  const int fol_field = store_.inc_f.FolNo;
  const int archive_field = store_.inc_f.Archive;
  int current = -1;
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    if (t->Deleted() || t->True(archive_field)) continue;
    if (folder != -1 && t->Long(fol_field) != folder) continue;
    if (static_cast<int64_t>(t->RecNo()) == selection_) current = static_cast<int>(recnos_.size());
    recnos_.push_back(t->RecNo());
  }
  const int count = static_cast<int>(recnos_.size());
  if (selection_ < 1) current = count - 1;
  FillFrom(count, [this](int i) { return Row(i); }, current < 0 ? 0 : current);
}

QStringList PickIncomeForm::Row(int i) {
  Table* t = store_.inc5;
  const uint32_t recno = recnos_.at(static_cast<size_t>(i));
  t->Go(recno);
  store_.LoadIncome();
  const IncomeRecord& r = store_.Income;
  return {r.IncDate.isValid() ? LocaleFormats::DateToText(r.IncDate.date()) : QString(),
          QString::number(r.FolNo), FormatNumber(r.IncAmt, "%12.2n"), r.IncDesc,
          QString::number(recno)};
}

void PickIncomeForm::hideEvent(QHideEvent* event) {
  model()->SetRows({});
  recnos_.clear();
  PickListForm::hideEvent(event);
}

}  // namespace kpr
