// Runs one benchmark step in a child process and measures it, so that no
// step inherits another's peak memory: the peak resident set comes from the
// child's ru_maxrss as wait4 reports it. Before each run, untimed, the
// system's dirty file data is written out (sync), so that no step pays for
// the writeback of an earlier one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kpr::bench {

// What a step's body reports back from the child.
struct StepOutcome {
  uint64_t rows = 0;      // rows the step produced or read
  uint64_t checksum = 0;  // order-sensitive hash of the record numbers, 0 if none
  std::string error;      // empty when the step succeeded
  // The body's own figure, when it leaves set-up out of its timing or
  // reports a time per item; negative: the whole body is timed.
  double seconds = -1;
};

struct Measurement {
  bool ok = false;
  double seconds = 0;   // the body's own time (InChild) or spawn-to-exit (Command)
  double peak_mb = 0;   // ru_maxrss of the child, MiB
  uint64_t rows = 0;
  uint64_t checksum = 0;
  std::string error;
};

class MeasuredRun {
 public:
  // Forks; the child runs body, timing it itself, sends the outcome and the
  // time back through a pipe and ends with _exit. An exception from body is
  // a failed step.
  static Measurement InChild(const std::function<StepOutcome()>& body);

  // Runs a program (argv[0] looked up on PATH) with standard output sent to
  // /dev/null; the time runs from fork to exit. Fails on a non-zero status.
  static Measurement Command(const std::vector<std::string>& argv);

  // Peak resident set of this process so far, MiB (the floor every child
  // starts from, as it shares this process's pages at fork).
  static double SelfPeakMb();
};

}  // namespace kpr::bench
