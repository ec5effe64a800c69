#include "reports/chart_of_accounts_report.h"

#include "reports/report_printer.h"

namespace kpr {
namespace {

void AccountLine(ReportLayout& layout, const QString& number, const QString& name) {
  layout.CheckPageBreak(layout.LinesOnPage + 1, true);
  layout.NewLine();
  layout.Set(0, layout.Cell(0, number));
  layout.Set(1, layout.Cell(1, name));
}

}  // namespace

void BuildChartOfAccounts(DataStore& store, bool income_chart, int lines_per_page,
                          ReportLayout& layout) {
  Table* t = income_chart ? store.acci : store.acc;
  const AccountRecord& account = income_chart ? store.IncomeAccount : store.ExpenseAccount;
  const char* sections[2] = {income_chart ? "Taxable Accounts" : "Deductible Accounts",
                             income_chart ? "Non-Taxable Accounts" : "Non-Deductible Accounts"};
  layout.StartReport(40, 3, lines_per_page);
  layout.ReportTitles = {income_chart ? "Income Accounts" : "Expense Accounts"};
  layout.SectionHeading = sections[0];
  layout.ColumnFormats = {"R05", "L10"};
  layout.ColumnHeadings = {{"R05Acnt.", "L10Account Name", "U"}};
  const long total = 2L * static_cast<long>(t->RecCount());
  UiServices& ui = store.ui();
  ui.ShowProgress(true, kBuildingReport);
  long count = 0;
  for (bool flag : {true, false}) {
    for (store.LastResult = t->Top(); store.LastResult != Table::kEndOfFile;
         store.LastResult = t->Skip(1)) {
      if (income_chart) {
        store.LoadIncomeAccount();
      } else {
        store.LoadExpenseAccount();
      }
      if (account.AcDed == flag) AccountLine(layout, QString::number(account.AccNo), account.AcDesc);
      ++count;
      if (total > 0) ui.SetProgress(static_cast<int>(count * 100 / total));
    }
    if (flag) {
      layout.SectionHeading = sections[1];
      if (layout.LastLine() >= 0) {
        layout.SetStyle("U");
        layout.ChangeSection();
      }
    } else {
      layout.SectionHeading = QString();
    }
  }
  ui.ShowProgress(false, QString());
  if (layout.LastLine() >= 0) {
    layout.SetStyle("U");
    layout.NewLine();
  }
}

void ChartOfAccountsReport(const ReportEnvironment& env, bool income_chart) {
  ReportLayout layout;
  BuildChartOfAccounts(env.store, income_chart, LinesPerPage(env.printer, env.font), layout);
  ShowReport(layout, env);
}

}  // namespace kpr
