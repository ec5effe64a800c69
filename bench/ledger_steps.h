// The ledger's measured steps: opening the income and expense pick lists
// as the main window's buttons do, paging through a list, and saving
// records through the edit forms. Each step makes its own offscreen
// QApplication (meant to run inside MeasuredRun::InChild, which forks) and
// times only the user's wait, not that set-up. Each throws
// std::runtime_error when the engine or a form fails.
#pragma once

#include <string>

#include "bench/measured_run.h"

namespace kpr::bench {

class LedgerSteps {
 public:
  explicit LedgerSteps(std::string data_dir) : dir_(std::move(data_dir)) {}

  // Opens the record table, FOLDER and the chart of accounts, then shows
  // the pick list until its visible rows are painted. default_folder: -1
  // for every folder. rows: rows listed.
  StepOutcome OpenIncomeList(int default_folder) const;
  StepOutcome OpenExpenseList(int default_folder) const;

  // Opens the expense list on its first row and presses Page Down `pages`
  // times, painting each page. seconds: per page.
  StepOutcome PageThroughExpenses(int pages) const;

  // Saves `count` new income records through TIncome, each an append with
  // its two tags' keys and a flush ("Add another" answered No).
  // seconds: per save.
  StepOutcome SaveNewIncomes(int count) const;

  // Moves `count` existing expense records spread over EXP5 to another
  // date and amount through TExpense (both tags' keys change).
  // seconds: per save.
  StepOutcome SaveEditedExpenses(int count) const;

 private:
  std::string dir_;
};

}  // namespace kpr::bench
