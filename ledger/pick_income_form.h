// TPickInc: the income pick list. Unarchived income of the Default Folder
// (every folder when it is -1) in IncDate order. The row of the record
// numbered by the selection code becomes current; when the code is below 1
// (loop start, after a delete) the last row does.
// REQUIRES while shown: INC5 open with its IncDate tag.
#pragma once

#include "classify/pick_list_form.h"

namespace kpr {

class DataStore;

class PickIncomeForm : public PickListForm {
  Q_OBJECT
 public:
  // selection: SelIncome; default_folder: DefaultFolder, read at each show.
  PickIncomeForm(DataStore& store, int& selection, const int& default_folder,
                 QWidget* parent = nullptr);
  void FormShow() override;

 private:
  DataStore& store_;
  const int& default_folder_;
};

}  // namespace kpr
