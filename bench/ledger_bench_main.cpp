// kpr_ledger_bench: the user's waits in the income and expense work on a
// large generated data directory: opening each pick list (every folder and
// one Default Folder), paging through a list, saving a new record and an
// edited one with their index updates. Each step runs in its own process
// on the offscreen platform. Times never fail the run; the exit status is
// 1 only when a step could not be run.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/engine_steps.h"
#include "bench/ledger_steps.h"
#include "bench/measured_run.h"
#include "bench/result_table.h"
#include "bench/work_dir.h"

namespace kpr::bench {
namespace {

const char kUsage[] =
    "usage: kpr_ledger_bench [--incomes N] [--expenses N] [--data DIR]\n"
    "  --incomes N, --expenses N  rows to generate (default 1000000 each)\n"
    "  --data DIR                 use the data directory DIR as it is (for example\n"
    "                             one written by kprdata generate); it is changed by\n"
    "                             the save steps. Default: generate into a temporary\n"
    "                             directory, removed at the end\n";

struct Options {
  DataSize size{1000000, 1000000};
  std::string data;
};

bool Parse(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; i += 2) {
    const std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[i + 1];
    char* end = nullptr;
    const unsigned long long n = std::strtoull(value.c_str(), &end, 10);
    const bool number = !value.empty() && value[0] != '-' && *end == '\0';
    if (name == "--incomes" && number) {
      o->size.incomes = n;
    } else if (name == "--expenses" && number) {
      o->size.expenses = n;
    } else if (name == "--data" && !value.empty()) {
      o->data = value;
    } else {
      return false;
    }
  }
  return true;
}

ResultRow Row(const std::string& step, const Measurement& m, const char* target, double limit) {
  ResultRow r{step, m, std::nullopt, "", target, std::nullopt};
  if (m.ok && limit > 0) r.met = m.seconds <= limit;
  return r;
}

int Run(const Options& o) {
  std::string work, data = o.data;
  ResultTable table;
  if (data.empty()) {
    work = MakeTempDir("kpr_ledger_bench");
    data = work + "/data";
    std::printf("kpr_ledger_bench: generating %llu incomes, %llu expenses in %s\n",
                static_cast<unsigned long long>(o.size.incomes),
                static_cast<unsigned long long>(o.size.expenses), data.c_str());
    const Measurement gen = MeasuredRun::InChild([&] { return EngineSteps(data).Generate(o.size); });
    table.Add(Row("generate (not a wait)", gen, "-", 0));
  } else {
    std::printf("kpr_ledger_bench: data directory %s\n", data.c_str());
  }
  const LedgerSteps steps(data);
  auto add = [&table](const std::string& step, const Measurement& m, const char* target,
                      double limit, const char* counted) {
    table.Add(Row(step, m, target, limit));
    if (m.ok) table.AddNote(step + ": " + std::to_string(m.rows) + " " + counted);
  };
  const int folder = 3;
  add("open TPickInc, all", MeasuredRun::InChild([&] { return steps.OpenIncomeList(-1); }),
      "<= 1 s", 1.0, "rows listed");
  add("open TPickInc, fol 3", MeasuredRun::InChild([&] { return steps.OpenIncomeList(folder); }),
      "<= 1 s", 1.0, "rows listed");
  add("open TPickExp, all", MeasuredRun::InChild([&] { return steps.OpenExpenseList(-1); }),
      "<= 1 s", 1.0, "rows listed");
  add("open TPickExp, fol 3", MeasuredRun::InChild([&] { return steps.OpenExpenseList(folder); }),
      "<= 1 s", 1.0, "rows listed");
  add("Page Down (each)", MeasuredRun::InChild([&] { return steps.PageThroughExpenses(200); }),
      "<= 0.04 s", 0.04, "= the current row after 200 pages");
  add("save new inc. (each)", MeasuredRun::InChild([&] { return steps.SaveNewIncomes(50); }),
      "<= 0.1 s", 0.1, "records saved");
  add("save edited exp (each)",
      MeasuredRun::InChild([&] { return steps.SaveEditedExpenses(50); }), "<= 0.1 s", 0.1,
      "records saved");
  table.Print(stdout);
  std::printf("  open = the tables opened as the button does and the list shown with its "
              "visible rows painted\n");
  if (!work.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(work, ec);
  }
  return table.AllRan() ? 0 : 1;
}

}  // namespace
}  // namespace kpr::bench

int main(int argc, char** argv) {
  // No application object here: each step's process makes its own after
  // the fork, on the offscreen platform.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  kpr::bench::Options options;
  if (!kpr::bench::Parse(argc, argv, &options)) {
    std::fputs(kpr::bench::kUsage, stderr);
    return 2;
  }
  try {
    return kpr::bench::Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kpr_ledger_bench: %s\n", e.what());
    return 1;
  }
}
