#include "classify/pick_folder_form.h"

#include "store/data_store.h"

namespace kpr {

PickFolderForm::PickFolderForm(DataStore& store, int& selection, QWidget* parent)
    : PickListForm("TPickFol", "PickFol", QSize(383, 368), 305,
                   {{"Number", 48}, {"Description", 240, true}, {"RecNo", 80}}, selection, parent),
      store_(store) {}

void PickFolderForm::FormShow() {
  std::vector<QStringList> rows;
  Table* t = store_.folder;
  t->SelectTag(store_.tag_folder);
  for (store_.LastResult = t->Top(); store_.LastResult != Table::kEndOfFile;
       store_.LastResult = t->Skip(1)) {
    if (t->Deleted()) continue;
    store_.LoadFolder();
    rows.push_back({QString::number(store_.Folder.FolNo), store_.Folder.FolName,
                    QString::number(t->RecNo())});
  }
  Fill(std::move(rows));
}

}  // namespace kpr
