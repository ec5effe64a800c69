// TFolderF: the folder definition form. Opens on the folder whose record
// number is SelFolder, or on a new folder when it is 0; Save adds, renames,
// renumbers or merges, Delete removes the folder with its income and
// expenses. It leaves SelFolder on the record it saved (0 after a delete).
// REQUIRES while shown: FOLDER open.
#pragma once

#include "classify/definition_form.h"

namespace kpr {

class DataStore;

class FolderForm : public DefinitionForm {
  Q_OBJECT
 public:
  FolderForm(DataStore& store, int& selection, QWidget* parent = nullptr);
  void FormShow() override;

 protected:
  bool NumberLeft(int number) override;
  void Save() override;
  void Delete() override;

 private:
  DataStore& store_;
  int& selection_;
  int loaded_no_ = 0;  // FolNo as loaded on show
};

}  // namespace kpr
