// Export of a report document as text: column-aligned (.txt) or
// tab-separated (.asc). One file line per document line, ended by CR LF, in
// Windows-1252 bytes; only "L", "R" and "C" cells give text, so "EJECT"
// lines, rules and line styles export as nothing (an empty line).
#pragma once

#include <QByteArray>
#include <QString>

#include "reports/report_document.h"
#include "store/ui_services.h"

namespace kpr {

enum class ExportLayout { kText, kTabs };

// The output line of one document line, without its line end.
// kText: each text at its column ("R" ends, "C" centres there), blanks
// filling up to it; a text that would start inside the line so far follows
// directly. kTabs: the texts joined by TAB, a prefix-only cell adding an empty
// field except at the start of the line.
QString ExportLine(const ReportDocument& doc, int line, ExportLayout layout);

// The whole file's bytes.
QByteArray ExportBytes(const ReportDocument& doc, ExportLayout layout);

// Writes the file (replacing one that exists). When it cannot be created,
// shows "Unable to save to: " + path and returns false; a failed write shows
// an error and returns false.
bool SaveExport(const ReportDocument& doc, ExportLayout layout, const QString& path, UiServices& ui);

// The viewer's Export: asks for the file ("Export Report"), keeps the current
// directory, adds the default extension ("txt" / "asc") to a name without
// one, and saves. False when cancelled or failed.
bool ExportReport(const ReportDocument& doc, ExportLayout layout, UiServices& ui);

}  // namespace kpr
