// The reference side: the same live rows of INC5 and EXP5 in an SQLite
// database (tables inc and exp, each with a recno column that is the row id
// and the record number in the .dbf), and the SQLite counterparts of the
// engine's steps. Each throws std::runtime_error with SQLite's message.
#pragma once

#include <string>

#include "bench/measured_run.h"

namespace kpr::bench {

class SqliteReference {
 public:
  explicit SqliteReference(std::string db_path) : db_path_(std::move(db_path)) {}

  // Creates the database from the tables in data_dir: every record not
  // marked deleted, in record order, numbers as INTEGER or REAL and the rest
  // as trimmed TEXT. Not a measured step (no indexes are made).
  StepOutcome Load(const std::string& data_dir) const;

  // Builds (IncAcc, IncDate), (IncDate), (AccNo, ExpDate), (ExpDate, AccNo).
  StepOutcome CreateIndexes() const;

  // SELECT * FROM inc ORDER BY IncDate, every value as text to /dev/null.
  // Fails when SQLite would sort instead of walking the index.
  StepOutcome WalkIncomesByDate() const;

  // SELECT * FROM inc WHERE IncAcc = ? ORDER BY IncAcc, IncDate, likewise.
  StepOutcome ScanIncomeAccount(int account) const;

 private:
  std::string db_path_;
};

}  // namespace kpr::bench
