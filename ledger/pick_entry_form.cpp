#include "ledger/pick_entry_form.h"

#include "classify/pick_list_model.h"
#include "classify/record_walk.h"
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
  // The order comes from the index alone; the filter's fields are then read
  // in record order, so a table larger than the record cache is read once,
  // front to back, instead of once per key in random order.
  t->SelectTag(src.tag);
  std::vector<uint32_t> ordered;
  ExitOnFailure(store_, t->OrderedRecNos(&ordered));
  std::vector<bool> listed(size_t{t->RecCount()} + 1);
  const int folder = default_folder_;
  t->SelectTag(nullptr);
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    listed[t->RecNo()] = !t->Deleted() && !t->True(src.archive_field) &&
                         (folder == -1 || t->Long(src.folder_field) == folder);
  }
  store_.engine().ExitTest();
  t->SelectTag(src.tag);
  int current = -1;
  recnos_.reserve(ordered.size());
  for (const uint32_t recno : ordered) {
    if (recno >= listed.size() || !listed[recno]) continue;
    if (static_cast<int64_t>(recno) == selection_) current = static_cast<int>(recnos_.size());
    recnos_.push_back(recno);
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
