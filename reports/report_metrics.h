// Column metrics of a report on one canvas (screen or printer) with the
// report font, and the drawing of a document line with them. Horizontal
// positions are report columns 0..99: the report is centred in the area.
#pragma once

#include <QFont>
#include <QFontMetrics>

#include "reports/report_document.h"

class QPainter;
class QPaintDevice;

namespace kpr {

struct ReportMetrics {
  int char_width = 1;   // Trunc(width of "01234567890abcdefghijklmnop" / 27)
  int line_height = 1;  // height of "A"
  int ascent = 0;
  int left_margin = 0;  // Trunc(area width / 2 - report width x char width / 2)
  int right_end = 0;    // left margin + report width x char width

  int X(int column) const { return left_margin + column * char_width; }

  static int CharWidth(const QFontMetrics& fm);
  // Metrics of `font` on `device` (the screen when null) centred in
  // area_width.
  static ReportMetrics Measure(const QFont& font, const QPaintDevice* device, int area_width,
                               int report_width);
};

// A copy of font with its size reduced point by point, not below
// floor_points, while report_width columns are wider than area_width, or
// (min_height > 0) while `lines` lines are taller than min_height.
QFont ShrunkFont(const QFont& font, const QPaintDevice* device, int report_width, int area_width,
                 int floor_points, int lines = 0, int height = 0);

// Draws the cells of one line at height y (its top) with the painter's
// report font: bold or regular from the style cell, texts at their columns,
// rules, and the rule under a "U" line. An "EJECT" cell draws a dotted line
// across 0..area_width-1 unless on_eject is given, which is called instead
// and returns the new y (printing starts a page there).
template <typename OnEject>
int PaintReportLine(QPainter& p, const ReportDocument& doc, int line, const QFont& font,
                    const ReportMetrics& m, int y, int area_width, OnEject&& on_eject);
void PaintReportCell(QPainter& p, const ReportCell& cell, const ReportMetrics& m, int y);
void PaintUnderline(QPainter& p, const ReportMetrics& m, int y);
void SetLineFont(QPainter& p, const QFont& font, bool bold);

template <typename OnEject>
int PaintReportLine(QPainter& p, const ReportDocument& doc, int line, const QFont& font,
                    const ReportMetrics& m, int y, int area_width, OnEject&& on_eject) {
  SetLineFont(p, font, doc.Bold(line));
  for (int c = 0; c + 1 < doc.CellsPerLine(); ++c) {
    const QString& raw = doc.Cell(c, line);
    if (raw.isEmpty()) continue;
    const ReportCell cell = ReportCell::Parse(raw);
    if (cell.kind == ReportCell::Kind::kEject) {
      y = on_eject(y);
    } else {
      PaintReportCell(p, cell, m, y);
    }
  }
  y += m.line_height;
  if (doc.Underlined(line)) PaintUnderline(p, m, y);
  return y;
}

}  // namespace kpr
