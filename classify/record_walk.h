// Walks over every physical record of a table in record-number order, the
// records marked deleted included, so that changing a key field during the
// walk never moves the walk's position. Any engine failure ends the program
// through the engine's exit test, after each step.
#pragma once

#include <functional>

#include "store/data_store.h"

namespace kpr {

// Puts `table` into record-number order (no tag) and calls visit on each
// record from the first to end of file. visit changes the current record
// and returns the status of its change; a failed change is recorded in the
// engine and ends the program.
void WalkInRecordOrder(DataStore& store, Table* table, const std::function<Status(Table*)>& visit);

// Closes `table` (writing what is pending) and runs the exit test.
void CloseAndTest(DataStore& store, Table*& table);

// Records a failed status in the engine, then runs the exit test.
void ExitOnFailure(DataStore& store, const Status& s);

}  // namespace kpr
