// What the income and expense pick lists share: the unarchived records of
// the Default Folder (every folder when it is -1) in the order of the
// table's date tag. The row of the record numbered by the selection code
// becomes current; when the code is below 1 (loop start, after a delete)
// the last row, the latest date, does.
// The list keeps only the record numbers of the listed records; the view
// reads the cells of the rows it shows from the table, so a table of a
// million records opens without reading every record's text.
#pragma once

#include <cstdint>
#include <vector>

#include "classify/pick_list_form.h"

namespace kpr {

class DataStore;
class Table;
struct Tag;

class PickEntryForm : public PickListForm {
  Q_OBJECT
 public:
  void FormShow() override;

 protected:
  // default_folder: DefaultFolder, read at each show.
  PickEntryForm(DataStore& store, const int& default_folder, const QString& object_name,
                const QString& caption, QSize size, int grid_width, std::vector<Column> columns,
                int& selection, QWidget* parent);

  // The table listed, its date tag and the fields the filter reads.
  struct Source {
    Table* table;
    Tag* tag;
    int folder_field;
    int archive_field;
  };
  virtual Source source() const = 0;
  // The cells of the row for the current record of the table, the record
  // number (last column) included.
  virtual QStringList Row(uint32_t recno) = 0;

  DataStore& store() const { return store_; }

  // The rows read from the table, which is closed after the loop, go with
  // the list.
  void hideEvent(QHideEvent* event) override;

 private:
  DataStore& store_;
  const int& default_folder_;
  std::vector<uint32_t> recnos_;
};

}  // namespace kpr
