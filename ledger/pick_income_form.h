// TPickInc: the income pick list. Unarchived income of the Default Folder
// (every folder when it is -1) in IncDate order. The row of the record
// numbered by the selection code becomes current; when the code is below 1
// (loop start, after a delete) the last row does.
// REQUIRES while shown: INC5 open with its IncDate tag.
#pragma once

#include <cstdint>
#include <vector>

#include "classify/pick_list_form.h"

namespace kpr {

class DataStore;

class PickIncomeForm : public PickListForm {
  Q_OBJECT
 public:
  // selection: SelIncome; default_folder: DefaultFolder, read at each show.
  PickIncomeForm(DataStore& store, int& selection, const int& default_folder,
                 QWidget* parent = nullptr);
  // Walks INC5 in tag order keeping only the record numbers of the listed
  // records; the view reads the cells of the rows it shows from the table.
  void FormShow() override;

 protected:
  // The rows read from INC5, which is closed after the loop, go with the list.
  void hideEvent(QHideEvent* event) override;

 private:
  QStringList Row(int i);

  DataStore& store_;
  const int& default_folder_;
  std::vector<uint32_t> recnos_;
};

}  // namespace kpr
