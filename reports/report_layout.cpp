#include "reports/report_layout.h"

#include "store/amount_text.h"
#include "store/clock.h"
#include "store/date_text.h"
#include "store/locale_formats.h"

namespace kpr {

void ReportLayout::StartReport(int report_width, int cells_per_line, int lines_per_page) {
  LinesPerPage = lines_per_page;
  LinesOnPage = -1;
  PageNumber = 0;
  RowDateFormat = TwoDigitDateFormat();
  ColumnHeadings.assign(1, QStringList());
  for (int i = 0; i < cells_per_line; ++i) ColumnHeadings[0].append(QString());
  ColumnFormats.clear();
  for (int i = 0; i + 1 < cells_per_line; ++i) ColumnFormats.append(QString());
  doc_ = std::make_unique<ReportDocument>(report_width, cells_per_line, lines_per_page);
}

void ReportLayout::FreeReport() {
  doc_.reset();
  ColumnHeadings.clear();
  ColumnFormats.clear();
}

std::unique_ptr<ReportDocument> ReportLayout::TakeDocument() {
  ColumnHeadings.clear();
  ColumnFormats.clear();
  return std::move(doc_);
}

void ReportLayout::NewLine() {
  doc_->NewLine();
  ++LinesOnPage;
}

void ReportLayout::AddTitleLines() {
  const QString centre = "C" + PadNumber(ReportWidth() / 2, 2);
  for (const QString& title : ReportTitles) {
    NewLine();
    Set(0, centre + title);
    SetStyle("B");
  }
}

void ReportLayout::AddSectionHeading() {
  NewLine();
  NewLine();
  Set(0, "L00" + SectionHeading);
}

void ReportLayout::AddColumnHeadings() {
  NewLine();
  for (const QStringList& heading : ColumnHeadings) {
    NewLine();
    for (int c = 0; c < CellsPerLine() && c < heading.size(); ++c) {
      doc_->SetCell(c, LastLine(), heading[c]);
    }
  }
}

bool ReportLayout::CheckPageBreak(int needed, bool with_headings) {
  if (PageNumber > 0 && needed <= LinesPerPage) return false;
  ++PageNumber;
  if (PageNumber > 1) {
    NewLine();
    Set(0, "EJECT");
  }
  LinesOnPage = 0;
  NewLine();
  Set(0, "L00Page " + QString::number(PageNumber));
  Set(1, "R" + PadNumber(ReportWidth(), 2) + LocaleFormats::DateToText(Clock::Today()));
  NewLine();
  AddTitleLines();
  AddSectionHeading();
  if (with_headings) AddColumnHeadings();
  return true;
}

void ReportLayout::ChangeSection() {
  if (doc_->Empty()) return;
  if (CheckPageBreak(LinesOnPage + 6, true)) return;
  NewLine();
  AddSectionHeading();
  AddColumnHeadings();
}

QString ReportAmountText(double value) { return FormatNumber(value, "%13.2n"); }

}  // namespace kpr
