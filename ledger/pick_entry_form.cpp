#include "ledger/pick_entry_form.h"

#include "classify/pick_list_model.h"
#include "store/data_store.h"

namespace kpr {

PickEntryForm::PickEntryForm(DataStore& store, const int& default_folder,
                             const QString& object_name, const QString& caption, QSize size,
                             int grid_width, std::vector<Column> columns, int& selection,
                             QWidget* parent)
    : PickListForm(object_name, caption, size, grid_width, std::move(columns), selection, parent),
      store_(store),
      default_folder_(default_folder) {}

void PickEntryForm::FormShow() {
  recnos_.clear();
  const Source src = source();
  Table* t = src.table;
  t->SelectTag(src.tag);
  const int folder = default_folder_;
  int current = -1;
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    if (t->Deleted() || t->True(src.archive_field)) continue;
    if (folder != -1 && t->Long(src.folder_field) != folder) continue;
    if (static_cast<int64_t>(t->RecNo()) == selection_) current = static_cast<int>(recnos_.size());
    recnos_.push_back(t->RecNo());
  }
  const int count = static_cast<int>(recnos_.size());
  if (selection_ < 1) current = count - 1;
  FillFrom(
      count,
      [this, t](int i) {
        const uint32_t recno = recnos_.at(static_cast<size_t>(i));
        t->Go(recno);
        return Row(recno);
      },
      current < 0 ? 0 : current);
}

void PickEntryForm::hideEvent(QHideEvent* event) {
  model()->SetRows({});
  recnos_.clear();
  PickListForm::hideEvent(event);
}

}  // namespace kpr
