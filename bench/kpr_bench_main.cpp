// kpr_bench: generates a large data directory, then measures the engine's
// steps (generate, reindex, ordered walk, seek-and-scan, pack) each beside
// an SQLite or cp reference on the same rows. Times never fail the run; the
// exit status is 1 only when a step could not be run or the two sides of a
// walk disagree on its rows.
#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/engine_steps.h"
#include "bench/measured_run.h"
#include "bench/result_table.h"
#include "bench/sqlite_reference.h"
#include "bench/work_dir.h"

namespace kpr::bench {
namespace {

const char kUsage[] =
    "usage: kpr_bench [--incomes N] [--expenses N] [--account N] [--keep DIR]\n"
    "  --incomes N, --expenses N  rows to generate (default 1000000 each)\n"
    "  --account N                income account of the seek-and-scan step (default 17)\n"
    "  --keep DIR                 work in DIR and keep the data there (default: a\n"
    "                             temporary directory, removed at the end)\n";

struct Options {
  DataSize size{1000000, 1000000};
  int account = 17;
  std::string keep;
};

bool ParseCount(const char* text, uint64_t* out) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (*text == '\0' || *end != '\0' || errno != 0 || text[0] == '-') return false;
  *out = v;
  return true;
}

bool Parse(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const char* value = argv[i + 1];
    uint64_t n = 0;
    if (name == "--incomes" && ParseCount(value, &n)) {
      o->size.incomes = n;
    } else if (name == "--expenses" && ParseCount(value, &n)) {
      o->size.expenses = n;
    } else if (name == "--account" && ParseCount(value, &n) && n >= 1 && n <= 40) {
      o->account = static_cast<int>(n);
    } else if (name == "--keep" && value[0] != '\0') {
      o->keep = value;
    } else {
      return false;
    }
  }
  return true;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string a, b, c;
  in >> a >> b >> c;
  return a + " " + b + " " + c;
}

std::string MakeWorkDir(const Options& o) {
  if (!o.keep.empty()) {
    std::filesystem::create_directories(o.keep);
    return o.keep;
  }
  return MakeTempDir("kpr_bench");
}

// A note comparing the rows of the two sides of a walk; *agree becomes
// false when both ran and their rows or order differ.
std::string Agreement(const std::string& step, const Measurement& ours, const Measurement& ref,
                      bool* agree) {
  if (!ours.ok || !ref.ok) return step + ": rows not compared (a side failed)";
  std::string s = step + ": ours " + std::to_string(ours.rows) + " rows, reference " +
                  std::to_string(ref.rows) + " rows";
  if (ours.rows == ref.rows && ours.checksum == ref.checksum) {
    return s + ", same records in the same order";
  }
  *agree = false;
  return s + (ours.rows != ref.rows ? " -- ROW COUNTS DIFFER" : " -- ORDER OR RECORDS DIFFER");
}

int Run(const Options& o) {
  const std::string work = MakeWorkDir(o);
  const std::string data = work + "/data";
  const std::string db = work + "/reference.sqlite";
  const EngineSteps ours(data);
  const SqliteReference ref(db);
  std::printf("kpr_bench: %llu incomes, %llu expenses in %s\n",
              static_cast<unsigned long long>(o.size.incomes),
              static_cast<unsigned long long>(o.size.expenses), work.c_str());
  std::printf("load average at start: %s; driver process peak %.1f MB\n\n", LoadAverage().c_str(),
              MeasuredRun::SelfPeakMb());
  std::filesystem::remove(db);
  ResultTable table;
  bool agree = true;

  ResultRow gen{"1 generate", MeasuredRun::InChild([&] { return ours.Generate(o.size); }),
                std::nullopt, "", "< 5 s", std::nullopt};
  if (gen.ours.ok) gen.met = gen.ours.seconds < 5.0;
  const bool generated = gen.ours.ok;
  table.Add(gen);
  if (generated) {
    const Measurement load = MeasuredRun::InChild([&] { return ref.Load(data); });
    if (!load.ok) {
      table.AddNote("SQLite load failed: " + load.error);
    } else {
      char buf[160];
      std::snprintf(buf, sizeof buf, "SQLite load of the live rows (not measured): %llu rows, %.2f s",
                    static_cast<unsigned long long>(load.rows), load.seconds);
      table.AddNote(buf);
    }

    ResultRow reindex{"2 reindex (7 tags)", MeasuredRun::InChild([&] { return ours.Reindex(); }),
                      MeasuredRun::InChild([&] { return ref.CreateIndexes(); }),
                      "SQLite CREATE INDEX (IncAcc,IncDate) (IncDate) (AccNo,ExpDate) "
                      "(ExpDate,AccNo)",
                      "<= 0.5x ref", std::nullopt};
    if (reindex.ours.ok && reindex.reference->ok) {
      reindex.met = reindex.ours.seconds <= 0.5 * reindex.reference->seconds;
    }
    table.Add(reindex);

    ResultRow walk{"3 walk INC5 by date", MeasuredRun::InChild([&] { return ours.WalkIncomesByDate(); }),
                   MeasuredRun::InChild([&] { return ref.WalkIncomesByDate(); }),
                   "SQLite SELECT * FROM inc ORDER BY IncDate (index), to /dev/null",
                   "<= 0.2x ref", std::nullopt};
    if (walk.ours.ok && walk.reference->ok) {
      walk.met = walk.ours.seconds * 5 <= walk.reference->seconds;
    }
    table.AddNote(Agreement("3 walk", walk.ours, *walk.reference, &agree));
    table.Add(walk);

    const std::string account = std::to_string(o.account);
    ResultRow scan{"4 seek+scan acc " + account,
                   MeasuredRun::InChild([&] { return ours.ScanIncomeAccount(o.account); }),
                   MeasuredRun::InChild([&] { return ref.ScanIncomeAccount(o.account); }),
                   "SQLite SELECT * FROM inc WHERE IncAcc = " + account +
                       " ORDER BY IncAcc, IncDate, to /dev/null",
                   "-", std::nullopt};
    table.AddNote(Agreement("4 seek+scan", scan.ours, *scan.reference, &agree));
    table.Add(scan);

    const Measurement copy =
        MeasuredRun::Command({"cp", data + "/INC5.dbf", work + "/INC5.copy.dbf"});
    ResultRow pack{"5 pack INC5 + tags", MeasuredRun::InChild([&] { return ours.PackIncomes(); }),
                   copy, "cp INC5.dbf (process start to exit)", "< 1.5 s", std::nullopt};
    if (pack.ours.ok) {
      pack.met = pack.ours.seconds < 1.5;
      if (walk.ours.ok && pack.ours.rows != walk.ours.rows) {
        agree = false;
        table.AddNote("5 pack: " + std::to_string(pack.ours.rows) +
                      " records left, but the walk saw " + std::to_string(walk.ours.rows));
      }
    }
    table.Add(pack);
    std::filesystem::remove(work + "/INC5.copy.dbf");
  }

  table.Print(stdout);
  if (o.size.incomes != 1000000 || o.size.expenses != 1000000) {
    std::printf("  the targets are set for 1,000,000 incomes and 1,000,000 expenses\n");
  }
  std::printf("  load average at end: %s (other work on the machine slows every step)\n",
              LoadAverage().c_str());
  if (o.keep.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
  } else {
    std::printf("  data kept in %s\n", work.c_str());
  }
  return table.AllRan() && agree ? 0 : 1;
}

}  // namespace
}  // namespace kpr::bench

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // locale and text codecs as the program has them
  kpr::bench::Options options;
  if (!kpr::bench::Parse(argc, argv, &options)) {
    std::fputs(kpr::bench::kUsage, stderr);
    return 2;
  }
  try {
    return kpr::bench::Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kpr_bench: %s\n", e.what());
    return 1;
  }
}
