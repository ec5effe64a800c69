// The six tables as the installation lays them out, and the making of an
// empty data directory. The program itself never creates a table; the
// installer's tool (kprdata) and the tests do.
#pragma once

#include <string>
#include <vector>

#include "store/dbf_field.h"
#include "store/file.h"
#include "store/status.h"

namespace kpr {

struct TableLayout {
  const char* name;  // "INC5"; the file is name + ".dbf"
  std::vector<DbfField> fields;
};

// INC5, EXP5, ACC, ACCI, FOLDER, KPR1, in this order.
const std::vector<TableLayout>& InstalledLayouts();
const TableLayout* FindLayout(const std::string& name);

// A raw record of a layout, filled field by field (Windows-1252 bytes).
class RecordImage {
 public:
  explicit RecordImage(const std::vector<DbfField>& fields);
  void Clear();  // all blanks, not deleted
  void SetDeleted(bool deleted) { bytes_[0] = deleted ? '*' : ' '; }
  // Text is cut or blank-padded to the field's width (left-aligned).
  void SetText(int field, const std::string& raw);
  // REQUIRES: the value fits its field (kprdata makes its own values).
  void SetNumber(int field, double value);
  void SetLogical(int field, bool value);
  const char* data() const { return bytes_.data(); }
  const std::string& bytes() const { return bytes_; }

 private:
  const std::vector<DbfField>& fields_;
  std::string bytes_;
};

// Writes a new empty table of the layout at path (refusing to overwrite).
Status CreateTable(FileSystem* fs, const std::string& path, const TableLayout& layout);

// Creates the six tables in dir, empty but for KPR1's one record (blank
// names, fiscal year from 1 January, font size 0). Refuses when any of them
// exists. Index files are not made here (see DataStore::RebuildIndexes).
Status CreateEmptyTables(FileSystem* fs, const std::string& dir);

}  // namespace kpr
