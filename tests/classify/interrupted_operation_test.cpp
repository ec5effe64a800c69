// Renumber, merge and cascading delete stopped by a failing write at many
// points: each ends on the program's fatal path, the data directory then
// opens with every tag agreeing with its table, and running the operation
// again completes it exactly.
#include <functional>

#include "classify/account_operations.h"
#include "classify/folder_operations.h"
#include "tests/classify/classify_fixture.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_helpers.h"

namespace kpr::testing {
namespace {

struct Operation {
  const char* name;
  std::function<void(DataStore&)> run;  // opens what it needs
};

const Operation kOperations[] = {
    {"RenumberFolder",
     [](DataStore& s) {
       s.OpenFolders();
       RenumberFolder(s, 2, 2, 7, "Shop");
     }},
    {"MergeFolder",
     [](DataStore& s) {
       s.OpenFolders();
       // As the user would do it again: nothing when folder 2 is gone; else
       // as the form does it, a merge while folder 1 lives, or a renumber
       // when the merge was stopped after folder 1's record was deleted.
       if (FindFolder(s, 2) == 0) return;
       const uint32_t target = FindFolder(s, 1);
       if (target != 0) {
         MergeFolder(s, 2, 2, target, 1, "Shop");
       } else {
         RenumberFolder(s, 2, 2, 1, "Shop");
       }
     }},
    {"DeleteFolder",
     [](DataStore& s) {
       s.OpenFolders();
       DeleteFolderCascade(s, 2, 2);
     }},
    {"RenumberExpenseAccount",
     [](DataStore& s) {
       const AccountChart chart("E");
       chart.Open(s);
       chart.buffer(s) = {9, "Fuel", true};
       RenumberAccount(s, chart, 2, 5);
     }},
    {"MergeIncomeAccount",
     [](DataStore& s) {
       const AccountChart chart("I");
       chart.Open(s);
       if (FindAccount(s, chart, 5) == 0) return;
       chart.buffer(s) = {3, "Sales", false};
       const uint32_t target = FindAccount(s, chart, 3);
       if (target != 0) {
         MergeAccount(s, chart, 2, 5, target);
       } else {
         RenumberAccount(s, chart, 2, 5);
       }
     }},
    {"DeleteIncomeAccount",
     [](DataStore& s) {
       const AccountChart chart("I");
       chart.Open(s);
       DeleteAccountCascade(s, chart, 5, 2);
     }},
};

class InterruptedOperationTest : public ClassifyFixture,
                                 public ::testing::WithParamInterface<Operation> {
 protected:
  void SetUp() override {
    ClassifyFixture::SetUp();
    AddFolders({1, 2});
    AddAccounts(false, {3, 5});
    AddAccounts(true, {3, 5});
    std::vector<Entry> entries;
    for (int i = 0; i < 60; ++i) entries.push_back({1 + i % 2, i % 3 == 0 ? 3 : 5, i % 5 == 0, i % 7 == 0});
    AddEntries(true, entries);
    AddEntries(false, entries);
  }

  // Every table of a directory, as a test reads them back.
  struct Tables {
    std::vector<Class> folders, expense_chart, income_chart;
    std::vector<Entry> income, expense;
    bool operator==(const Tables&) const = default;
  };
  Tables Read(const std::string& dir) {
    ScriptedUi ui;
    auto saved = std::move(store_);
    store_ = std::make_unique<DataStore>(dir, &ui);
    Tables t{Classes("F"), Classes("E"), Classes("I"), Entries(true), Entries(false)};
    store_ = std::move(saved);
    return t;
  }
};

TEST_P(InterruptedOperationTest, EndsFatallyConsistentAndCompletesWhenRunAgain) {
  const Operation& op = GetParam();
  // The whole operation on a copy, for the result and the bytes it writes.
  TempDir whole;
  CopyDirFiles(dir_.path(), whole.path());
  FaultyFileSystem counting;
  {
    DataStore s(whole.path(), &ui_, &counting);
    op.run(s);
    s.CloseAll();
  }
  const Tables expected = Read(whole.path());
  const int64_t total = counting.bytes_written();
  ASSERT_GT(total, 0);

  int fatal = 0;
  for (int64_t budget = 0; budget < total; budget += std::max<int64_t>(1, total / 40)) {
    SCOPED_TRACE(budget);
    TempDir d(MemoryTempParent());
    CopyDirFiles(dir_.path(), d.path());
    FaultyFileSystem faulty;
    faulty.set_write_budget(budget);
    ScriptedUi ui;
    DataStore s(d.path(), &ui, &faulty);
    s.engine().set_exit_handler([](const std::string& m) { throw ProgramExit{m}; });
    try {
      op.run(s);
      s.CloseAll();
    } catch (const ProgramExit&) {
      ++fatal;
    }
    // The next start of the program: tags left untrusted are rebuilt.
    {
      ScriptedUi ui2;
      DataStore next(d.path(), &ui2);
      next.OpenFolders();
      next.OpenExpenseAccounts();
      next.OpenIncomeAccounts();
      next.OpenIncomes();
      next.OpenExpenses();
      next.CloseAll();
    }
    EXPECT_EQ(CheckDataDirectory(d.path()), std::vector<std::string>{});
    {
      ScriptedUi ui3;
      DataStore again(d.path(), &ui3);
      op.run(again);
      again.CloseAll();
    }
    EXPECT_EQ(CheckDataDirectory(d.path()), std::vector<std::string>{});
    const Tables got = Read(d.path());
    EXPECT_EQ(got.folders, expected.folders);
    EXPECT_EQ(got.expense_chart, expected.expense_chart);
    EXPECT_EQ(got.income_chart, expected.income_chart);
    EXPECT_EQ(got.income, expected.income);
    EXPECT_EQ(got.expense, expected.expense);
  }
  EXPECT_GT(fatal, 0);
}

INSTANTIATE_TEST_SUITE_P(Operations, InterruptedOperationTest, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kpr::testing
