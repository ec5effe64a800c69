// Where the walking steps write their rows: tab-separated lines to
// /dev/null through stdio, counting the rows and hashing their record
// numbers in order, so both sides of a comparison can be checked to have
// produced the same rows in the same order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "bench/measured_run.h"

namespace kpr::bench {

class RowSink {
 public:
  RowSink();  // opens /dev/null; throws std::runtime_error when it cannot
  ~RowSink();
  RowSink(const RowSink&) = delete;
  RowSink& operator=(const RowSink&) = delete;

  // One row: Begin with its record number, Field for each value, End.
  void Begin(uint64_t recno);
  void Field(std::string_view text) {
    line_ += '\t';
    line_ += text;
  }
  void End();

  StepOutcome Outcome() const;

 private:
  FILE* out_;
  std::string line_;
  uint64_t rows_ = 0;
  uint64_t hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace kpr::bench
