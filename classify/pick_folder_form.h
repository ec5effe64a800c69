// TPickFol: the folder pick list, every live folder in number order.
// REQUIRES while shown: FOLDER open.
#pragma once

#include "classify/pick_list_form.h"

namespace kpr {

class DataStore;

class PickFolderForm : public PickListForm {
  Q_OBJECT
 public:
  // selection: SelFolder.
  PickFolderForm(DataStore& store, int& selection, QWidget* parent = nullptr);
  void FormShow() override;

 private:
  DataStore& store_;
};

}  // namespace kpr
