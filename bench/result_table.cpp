#include "bench/result_table.h"

namespace kpr::bench {
namespace {

std::string Seconds(const Measurement& m) {
  if (!m.ok) return "FAILED";
  char buf[32];
  std::snprintf(buf, sizeof buf, m.seconds < 0.001 ? "%.6f" : m.seconds < 0.1 ? "%.4f" : "%.3f",
                m.seconds);
  return buf;
}

std::string Megabytes(const Measurement& m) {
  if (!m.ok) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", m.peak_mb);
  return buf;
}

}  // namespace

void ResultTable::Print(std::FILE* out) const {
  const char* const fmt = "%-22s %9s %8s %9s %8s %7s  %-15s %s\n";
  std::fprintf(out, fmt, "step", "ours s", "ours MB", "ref s", "ref MB", "ratio", "target", "met");
  std::fprintf(out, "%s\n", std::string(96, '-').c_str());
  for (const ResultRow& r : rows_) {
    std::string ref_s = "-", ref_mb = "-", ratio = "-";
    if (r.reference) {
      ref_s = Seconds(*r.reference);
      ref_mb = Megabytes(*r.reference);
      if (r.ours.ok && r.reference->ok && r.reference->seconds > 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.2fx", r.ours.seconds / r.reference->seconds);
        ratio = buf;
      }
    }
    const char* met = !r.met ? "-" : *r.met ? "yes" : "NO";
    std::fprintf(out, fmt, r.step.c_str(), Seconds(r.ours).c_str(), Megabytes(r.ours).c_str(),
                 ref_s.c_str(), ref_mb.c_str(), ratio.c_str(), r.target.c_str(), met);
  }
  std::fprintf(out, "\nratio = our time / reference time; MB = peak resident set (MiB) of the "
                    "step's own process.\n");
  for (const ResultRow& r : rows_) {
    if (r.reference) std::fprintf(out, "  %s: reference = %s\n", r.step.c_str(), r.reference_name.c_str());
    if (!r.ours.ok) std::fprintf(out, "  %s: ours failed: %s\n", r.step.c_str(), r.ours.error.c_str());
    if (r.reference && !r.reference->ok) {
      std::fprintf(out, "  %s: reference failed: %s\n", r.step.c_str(), r.reference->error.c_str());
    }
  }
  for (const std::string& n : notes_) std::fprintf(out, "  %s\n", n.c_str());
}

bool ResultTable::AllRan() const {
  for (const ResultRow& r : rows_) {
    if (!r.ours.ok || (r.reference && !r.reference->ok)) return false;
  }
  return true;
}

}  // namespace kpr::bench
