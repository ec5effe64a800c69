// Reports built without a window, for scripts and tests: the same document,
// export bytes and printed pages as the viewer gives on this machine.
#pragma once

#include <QFont>
#include <QString>
#include <memory>

#include "reports/report_document.h"
#include "store/data_store.h"

class QPrinter;

namespace kpr {

// The report font as the program sets it up: `base` with the stored font name
// (when not blank) and size (when above 0) of the settings record buffer.
QFont ReportFontFrom(const QFont& base, const SettingsRecord& settings);

// The chart of accounts of a data directory, read through `store` (its
// tables are opened and closed here; the settings buffer is loaded). The
// document may be empty.
std::unique_ptr<ReportDocument> BuildChartOfAccountsDocument(DataStore& store, bool income_chart,
                                                             const QPrinter* printer,
                                                             const QFont& font);

}  // namespace kpr
