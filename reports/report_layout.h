// The layout routines: they build a report document line by line and do
// all of its pagination. A builder sets the width and cells per line
// (StartReport), fills ReportTitles, ColumnFormats, ColumnHeadings and
// SectionHeading, and before each group of lines asks CheckPageBreak whether
// they still fit; a new page gets an "EJECT" line (on the page it ends) and a
// complete header.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "reports/report_document.h"

namespace kpr {

class ReportLayout {
 public:
  // Starts an empty document: counters reset, one empty column heading line,
  // CellsPerLine-1 empty formats, RowDateFormat = TwoDigitDateFormat().
  // REQUIRES: cells_per_line >= 2, lines_per_page > 0.
  void StartReport(int report_width, int cells_per_line, int lines_per_page);
  // Releases the document and the headings.
  void FreeReport();

  bool Started() const { return doc_ != nullptr; }
  // REQUIRES: Started().
  ReportDocument& document() { return *doc_; }
  const ReportDocument& document() const { return *doc_; }
  // Hands the finished document over; the layout is free afterwards.
  std::unique_ptr<ReportDocument> TakeDocument();

  int LastLine() const { return doc_->LastLine(); }
  int ReportWidth() const { return doc_->ReportWidth(); }
  int CellsPerLine() const { return doc_->CellsPerLine(); }

  // Appends a line of empty cells; it counts on the current page.
  void NewLine();
  // Sets a cell of the last line.
  void Set(int cell, const QString& text) { doc_->SetCell(cell, LastLine(), text); }
  void SetStyle(const QString& style) { doc_->SetStyle(LastLine(), style); }

  // Each title as a bold line centred on column ReportWidth / 2.
  void AddTitleLines();
  // A blank line and the line "L00" + SectionHeading.
  void AddSectionHeading();
  // A blank line and the ColumnHeadings lines, style cells included.
  void AddColumnHeadings();
  // needed: LinesOnPage + the lines about to be appended. When they fit the
  // current page (needed <= LinesPerPage, exactly full allowed) returns false
  // and appends nothing; otherwise starts a page: "EJECT" (not before page
  // 1), page line with "Page n" and today's date ending at ReportWidth, a
  // blank line, titles, section heading, and the column headings when asked.
  bool CheckPageBreak(int needed, bool with_headings);
  // The move to the next section (SectionHeading already set): nothing in an
  // empty document; otherwise a new page when the section header and one
  // line do not fit, or the section header in place.
  void ChangeSection();

  // Content cell i built from its format and a text.
  QString Cell(int i, const QString& text) const { return ColumnFormats[i] + text; }

  int LinesOnPage = -1;
  int PageNumber = 0;
  int LinesPerPage = 60;
  QStringList ReportTitles;
  std::vector<QStringList> ColumnHeadings;  // lines of CellsPerLine cells
  QStringList ColumnFormats;                // CellsPerLine - 1 prefixes
  QString SectionHeading;
  QString RowDateFormat;

 private:
  std::unique_ptr<ReportDocument> doc_;
};

// Amounts in reports: "%13.2n", right-aligned in 13 characters.
QString ReportAmountText(double value);

}  // namespace kpr
