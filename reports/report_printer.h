// Printing a report document: every line to the printer, a new page at
// each "EJECT" line and nowhere else. The font is a copy of the report font
// shrunk until the report fits the page width and a page holds its
// LinesPerPage lines below the top margin of three lines.
#pragma once

#include <QFont>
#include <QString>

#include "reports/report_document.h"
#include "store/ui_services.h"

class QPrinter;

namespace kpr {

// True when `printer` is a real printer (not PDF output) and one is installed.
bool HasPrinter(const QPrinter* printer);

// Most lines of a page: Trunc(page height / height of "A") - 6 with the report
// font on the printer, unshrunk; 60 without a printer.
int LinesPerPage(const QPrinter* printer, const QFont& font);

// Paints the document on `printer` (a printer or a PDF file already set on
// it). Returns the number of pages, or -1 when the device could not start.
int PrintReport(const ReportDocument& doc, const QFont& font, QPrinter* printer);

// Writes the pages to a PDF file with the page layout of `layout_from` (or
// the default page when null). False when the file could not be written.
bool PrintReportToPdf(const ReportDocument& doc, const QFont& font, const QPrinter* layout_from,
                      const QString& path);

// The viewer's Print: to the printer when there is one; otherwise says so,
// asks for a PDF file name and writes the pages there. "Unable to save to: "
// + the name when that fails. True when pages were printed or written.
bool PrintReportDocument(const ReportDocument& doc, const QFont& font, QPrinter* printer,
                         UiServices& ui);

}  // namespace kpr
