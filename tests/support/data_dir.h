// Fixture data directories: the six installed tables, empty, with their
// index and group files, and small helpers to fill them through the engine.
#pragma once

#include <string>
#include <vector>

#include "store/data_store.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {

// Thrown by the exit handler the fixtures install, so a test sees the
// program's fatal end instead of the process ending.
struct ProgramExit {
  std::string message;
};

// A temporary data directory with empty tables and indexes, and a data store
// on it whose fatal end throws ProgramExit.
class DataDirFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  std::string Path(const std::string& name) const { return dir_.File(name); }

  // Appends folders / accounts / incomes through the data store's buffers.
  void AddFolders(const std::vector<int>& numbers);
  void AddAccounts(bool income_chart, const std::vector<int>& numbers);

  TempDir dir_;
  ScriptedUi ui_;
  std::unique_ptr<DataStore> store_;
};

// Makes the six empty tables with indexes in dir.
void CreateDataDir(const std::string& dir);

}  // namespace kpr::testing
