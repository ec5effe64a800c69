#include "reports/report_printer.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>

#include "reports/report_metrics.h"

namespace kpr {
namespace {

constexpr int kTopMarginLines = 3;
// Lines a page holds beyond LinesPerPage: the top margin and as much again
// below, as LinesPerPage is measured from a real printer.
constexpr int kSpareLines = 6;

}  // namespace

bool HasPrinter(const QPrinter* printer) {
  return printer != nullptr && printer->outputFormat() == QPrinter::NativeFormat &&
         !QPrinterInfo::availablePrinterNames().isEmpty();
}

int LinesPerPage(const QPrinter* printer, const QFont& font) {
  if (!HasPrinter(printer)) return 60;
  const QFontMetrics fm(font, printer);
  const int height = printer->pageLayout().paintRectPixels(printer->resolution()).height();
  return height / std::max(1, fm.height()) - kSpareLines;
}

int PrintReport(const ReportDocument& doc, const QFont& font, QPrinter* printer) {
  const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
  const QFont f = ShrunkFont(font, printer, doc.ReportWidth(), page.width(), 1,
                             doc.LinesPerPage() + kSpareLines, page.height());
  const ReportMetrics m = ReportMetrics::Measure(f, printer, page.width(), doc.ReportWidth());
  const int top = kTopMarginLines * m.line_height;
  QPainter p;
  if (!p.begin(printer)) return -1;
  p.setBrush(Qt::NoBrush);
  int pages = 1;
  int y = top;
  for (int line = 0; line <= doc.LastLine(); ++line) {
    y = PaintReportLine(p, doc, line, f, m, y, page.width(), [&](int) {
      printer->newPage();
      ++pages;
      return top - m.line_height;
    });
  }
  return p.end() ? pages : -1;
}

bool PrintReportToPdf(const ReportDocument& doc, const QFont& font, const QPrinter* layout_from,
                      const QString& path) {
  QPrinter pdf(QPrinter::HighResolution);
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(path);
  if (layout_from != nullptr) pdf.setPageLayout(layout_from->pageLayout());
  pdf.setCreator("TARN Ledgerline 1.06");
  pdf.setDocName("Report");
  return PrintReport(doc, font, &pdf) > 0 && QFileInfo(path).size() > 0;
}

bool PrintReportDocument(const ReportDocument& doc, const QFont& font, QPrinter* printer,
                         UiServices& ui) {
  if (HasPrinter(printer)) {
    if (PrintReport(doc, font, printer) > 0) return true;
    ui.Message(UiServices::Kind::kError, UiServices::Buttons::kOk,
               "Unable to print to " + printer->printerName());
    return false;
  }
  const QString current = QDir::currentPath();
  QString path = ui.ChooseSaveFile("No printer is installed - Print Report to PDF File",
                                   "PDF files (*.pdf *.PDF)");
  QDir::setCurrent(current);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += ".pdf";
  if (!PrintReportToPdf(doc, font, printer, path)) {
    ui.Inform("Unable to save to: " + path);
    return false;
  }
  ui.Inform("No printer is installed: the report was printed to the PDF file " + path);
  return true;
}

}  // namespace kpr
