// Packing: the records marked deleted leave the five data tables for good,
// and their indexes are rebuilt. Runs on request and when the program ends
// after a deletion.
#pragma once

#include <QString>

#include "store/data_store.h"

namespace kpr {

// Packs INC5, FOLDER, EXP5, ACC and ACCI under the progress box "Packing Data
// Files". A table that cannot be opened is left alone; a pack that fails
// leaves that table as it was and is reported in a warning.
void PackTables(DataStore& store);

// Packs one table with exclusive access. A table that cannot be opened is
// left alone (OK is returned, the open error is cleared); a failed pack is
// returned.
Status PackTable(DataStore& store, const char* name);

}  // namespace kpr
