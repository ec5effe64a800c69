// A read-only check of a data directory: every table readable, every index
// tag holding exactly the live records of its table in key order, every group
// file's stamp in step with its table. It never repairs anything.
#pragma once

#include <string>
#include <vector>

namespace kpr {

// Returns the disagreements found, one sentence each (empty: all agree).
std::vector<std::string> CheckDataDirectory(const std::string& dir);

}  // namespace kpr
