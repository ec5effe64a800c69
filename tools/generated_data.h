// Large, deterministic data for benchmarks: the same options and seed give
// the same files, byte for byte (but for the header dates).
#pragma once

#include <cstdint>
#include <string>

#include "store/status.h"

namespace kpr {

struct GenerateOptions {
  uint64_t incomes = 0;
  uint64_t expenses = 0;
  int accounts = 40;      // per chart
  int folders = 8;
  int years = 3;          // dates spread over this many years up to today
  double deleted = 0.0;   // fraction of records marked deleted
  uint64_t seed = 1;
  uint64_t payments = 0;  // rows of a payment table pmt.dbf; 0 = none
};

Status WriteGeneratedData(const std::string& dir, const GenerateOptions& options);

}  // namespace kpr
