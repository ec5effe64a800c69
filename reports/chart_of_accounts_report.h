// The chart of accounts: the accounts of one chart by number and name, the
// flagged ones (taxable income / deductible expense accounts) first, then
// the others. 40 columns, three cells: number ending at column 5, name from
// column 10.
#pragma once

#include "reports/report_frame.h"
#include "reports/report_layout.h"
#include "store/data_store.h"

namespace kpr {

// Builds the report into `layout` with the "Building Report" progress.
// REQUIRES: ACCI (income chart) or ACC open.
void BuildChartOfAccounts(DataStore& store, bool income_chart, int lines_per_page,
                          ReportLayout& layout);

// Builds and shows the report (or "Report contains no data.").
void ChartOfAccountsReport(const ReportEnvironment& env, bool income_chart);

}  // namespace kpr
