// The measured steps on our side, each the engine's own work done in this
// process (meant to run inside MeasuredRun::InChild). Each throws
// std::runtime_error with the engine's message when the engine fails.
#pragma once

#include <cstdint>
#include <string>

#include "bench/measured_run.h"

namespace kpr::bench {

struct DataSize {
  uint64_t incomes = 0;
  uint64_t expenses = 0;
};

class EngineSteps {
 public:
  explicit EngineSteps(std::string data_dir) : dir_(std::move(data_dir)) {}

  // Writes the six tables and builds every index (40 accounts per chart,
  // 8 folders, dates over 3 years in random order, 2% marked deleted).
  // REQUIRES: the data directory holds no tables yet.
  StepOutcome Generate(const DataSize& size) const;

  // Rebuilds all seven tags, as `kprdata reindex` does.
  StepOutcome Reindex() const;

  // Walks INC5 in IncDate order, writing every field as text to /dev/null.
  StepOutcome WalkIncomesByDate() const;

  // Seeks the account's key on IncAcc and skips while the key matches,
  // writing every field as text to /dev/null.
  StepOutcome ScanIncomeAccount(int account) const;

  // Packs INC5, which rebuilds its two tags; rows: records left.
  StepOutcome PackIncomes() const;

 private:
  std::string dir_;
};

}  // namespace kpr::bench
