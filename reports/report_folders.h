// The folder choice and the routines every folder-based report shares.
#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "reports/report_layout.h"
#include "store/data_store.h"

class QWidget;

namespace kpr {

// The folders of the next report, in folder-number order. No folder: shows
// "Create folders before running reports" and returns none. One folder: that
// one, without asking. Several: TMultFol through ui.RunModal; none when
// cancelled or nothing was selected. REQUIRES: FOLDER open.
std::vector<int> SelectReportFolders(DataStore& store, QWidget* parent = nullptr);

// Position of `folder` in `folders`, -1 when absent.
int SelectedFolderIndex(const std::vector<int>& folders, int folder);

// The trimmed name of folder n, empty when there is none. REQUIRES: FOLDER open.
QString FolderTitleName(DataStore& store, int n);

// After a report's closing lines, when more than one folder was chosen: two
// blank lines, then one line per folder (page breaks allowed between them),
// the first with "Included Folders:", each with the folder's stored name at
// column 18. REQUIRES: FOLDER open, report started.
void AddIncludedFolders(DataStore& store, ReportLayout& layout, const std::vector<int>& folders);

// The latest start of a fiscal year (month fy_month, day fy_day) on or
// before `date`. REQUIRES: the fiscal start exists in every year.
QDate FiscalYearStart(const QDate& date, int fy_month, int fy_day);

}  // namespace kpr
