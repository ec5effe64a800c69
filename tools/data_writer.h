// Writes a whole data directory of new tables in one go, for the sample and
// generated data: each table is streamed through a DbfWriter, then every
// index is built.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "store/dbf_table.h"
#include "store/installed_tables.h"

namespace kpr {

class DataWriter {
 public:
  // REQUIRES: none of the six tables exists in dir (checked by Start).
  static Status Start(const std::string& dir, std::unique_ptr<DataWriter>* out);

  // Streams the records of one table. fill(record, i) fills record i
  // (0-based) of count; the record starts blank each time.
  Status WriteTable(const char* name, uint64_t count,
                    const std::function<void(RecordImage&, uint64_t)>& fill);

  // Writes the tables not written yet (empty; KPR1 with its default record),
  // then builds every index.
  Status Finish();

  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::vector<std::string> written_;
};

}  // namespace kpr
