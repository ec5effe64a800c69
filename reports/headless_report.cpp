#include "reports/headless_report.h"

#include "reports/chart_of_accounts_report.h"
#include "reports/report_printer.h"

namespace kpr {

QFont ReportFontFrom(const QFont& base, const SettingsRecord& settings) {
  QFont font = base;
  if (!settings.FontName.trimmed().isEmpty()) font.setFamily(settings.FontName.trimmed());
  if (settings.FontSize > 0) font.setPointSize(settings.FontSize);
  return font;
}

std::unique_ptr<ReportDocument> BuildChartOfAccountsDocument(DataStore& store, bool income_chart,
                                                             const QPrinter* printer,
                                                             const QFont& font) {
  struct CloseAll {
    DataStore& store;
    ~CloseAll() { store.CloseAll(); }
  } close_all{store};
  if (income_chart) {
    store.OpenIncomeAccounts();
  } else {
    store.OpenExpenseAccounts();
  }
  ReportLayout layout;
  BuildChartOfAccounts(store, income_chart, LinesPerPage(printer, font), layout);
  return layout.TakeDocument();
}

}  // namespace kpr
