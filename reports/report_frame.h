// What a report run needs besides its tables, and the end that every report
// builder shares: "Report contains no data." for an empty document,
// otherwise the viewer, shown modally.
#pragma once

#include <QFont>

#include "reports/report_layout.h"
#include "store/data_store.h"

class QPrinter;
class QWidget;

namespace kpr {

struct ReportEnvironment {
  DataStore& store;
  QFont font;                  // the report font
  QPrinter* printer = nullptr;  // the printer of Page Setup; null: none
  QWidget* parent = nullptr;    // the viewer's parent
};

// Caption of the progress box while a report scans its tables.
inline constexpr char kBuildingReport[] = "Building Report";

// Shows the finished document (or the no-data message) and frees the layout.
void ShowReport(ReportLayout& layout, const ReportEnvironment& env);

}  // namespace kpr
