// TReportF, the report viewer: a maximized window that paints the lines of
// one report document with the report font and scrolls them. It never
// changes the document; Print and Export render it (report_printer.h,
// report_export.h).
//
// Metrics (ComputeMetrics) come from a copy of the report font, shrunk point
// by point while the report is wider than the area left of the scroll bar,
// never below 8 points. The scroll bar shows only when the document has more
// lines than a screen holds.
#pragma once

#include <QDialog>
#include <QFont>

#include "reports/report_document.h"
#include "reports/report_metrics.h"
#include "store/ui_services.h"

class QPrinter;
class QScrollBar;

namespace kpr {

class TReportF : public QDialog {
  Q_OBJECT
 public:
  // doc, printer and ui must outlive the window; printer may be null.
  TReportF(const ReportDocument& doc, const QFont& report_font, QPrinter* printer, UiServices& ui,
           QWidget* parent = nullptr);

  static constexpr int kFloorPoints = 8;

  // Lays out the metrics for the current size, the scroll bar at 0.
  void ComputeMetrics();

  const ReportMetrics& metrics() const { return metrics_; }
  const QFont& screen_font() const { return font_; }
  int lines_per_screen() const { return lines_per_screen_; }
  int first_line() const { return first_line_; }
  int available_width() const;
  QScrollBar* scroll_bar() const { return scroll_; }

  void PrintClicked();
  void ExportClicked(bool tabs);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRect ReportArea() const;

  const ReportDocument& doc_;
  QFont report_font_;
  QPrinter* printer_;
  UiServices& ui_;
  QWidget* area_;
  QScrollBar* scroll_;
  QFont font_;
  ReportMetrics metrics_;
  int lines_per_screen_ = 1;
  int first_line_ = 0;
};

}  // namespace kpr
