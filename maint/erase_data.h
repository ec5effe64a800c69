// Erasing data, table by table after a question each, so that a user can
// start from empty tables after trying the program on its sample data.
#pragma once

#include "store/data_store.h"

namespace kpr {

// Asks, in order: income records, expense records, then income account
// definitions (only when the income records were erased), expense account
// definitions (only when the expense records were erased), and folder
// definitions (only when both were). Each OK empties that table at once.
void EraseData(DataStore& store);

}  // namespace kpr
