// The benchmark's report: one line per step with our time and peak memory,
// the reference's beside them, their ratio and the target, then the notes
// (what each reference is, row counts and order checks).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/measured_run.h"

namespace kpr::bench {

struct ResultRow {
  std::string step;
  Measurement ours;
  std::optional<Measurement> reference;  // none for a step without one
  std::string reference_name;            // what the reference ran
  std::string target;                    // "-" when the step has none
  std::optional<bool> met;               // none when there is no target or a side failed
};

class ResultTable {
 public:
  void Add(ResultRow row) { rows_.push_back(std::move(row)); }
  void AddNote(std::string note) { notes_.push_back(std::move(note)); }
  // Prints the table and the notes.
  void Print(std::FILE* out) const;
  // True when every measured side of every step succeeded.
  bool AllRan() const;

 private:
  std::vector<ResultRow> rows_;
  std::vector<std::string> notes_;
};

}  // namespace kpr::bench
