// TMultFol, "Select Folder(s) to Include": the folders of FOLDER, any number
// of them selected by clicks; Run takes the selected folder numbers, All
// selects every folder, Cancel (or closing the window) takes none.
#pragma once

#include <QDialog>
#include <vector>

#include "store/data_store.h"

class QListWidget;

namespace kpr {

class TMultFol : public QDialog {
  Q_OBJECT
 public:
  explicit TMultFol(QWidget* parent = nullptr);

  // Empties the list and the choice, then lists every folder of FOLDER in
  // number order as PadNumber(FolNo, 4) + " - " + FolName, none selected.
  // REQUIRES: FOLDER open.
  void Fill(DataStore& store);
  // The folder numbers taken by Run, in list order; empty otherwise.
  const std::vector<int>& folders() const { return folders_; }
  QListWidget* list() const { return list_; }

  void BtnRunClick();
  void BtnAllClick();
  void BtnCancelClick();

 private:
  QListWidget* list_;
  std::vector<int> folders_;
};

}  // namespace kpr
