// A believable small business for trying the program: a few folders, both
// charts of accounts, two years of income and expenses up to today.
#pragma once

#include <string>

#include "store/status.h"

namespace kpr {

Status WriteSampleData(const std::string& dir);

}  // namespace kpr
