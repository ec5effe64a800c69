#include "reports/report_metrics.h"

#include <QPainter>
#include <QPen>

namespace kpr {
namespace {

const char kMeasure[] = "01234567890abcdefghijklmnop";

QFontMetrics Metrics(const QFont& font, const QPaintDevice* device) {
  return device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
}

}  // namespace

int ReportMetrics::CharWidth(const QFontMetrics& fm) {
  return std::max(1, fm.horizontalAdvance(kMeasure) / 27);
}

ReportMetrics ReportMetrics::Measure(const QFont& font, const QPaintDevice* device, int area_width,
                                     int report_width) {
  const QFontMetrics fm = Metrics(font, device);
  ReportMetrics m;
  m.char_width = CharWidth(fm);
  m.line_height = std::max(1, fm.height());
  m.ascent = fm.ascent();
  m.left_margin = static_cast<int>(area_width / 2.0 - report_width * m.char_width / 2.0);
  m.right_end = m.left_margin + report_width * m.char_width;
  return m;
}

QFont ShrunkFont(const QFont& font, const QPaintDevice* device, int report_width, int area_width,
                 int floor_points, int lines, int height) {
  QFont f = font;
  if (f.pointSize() <= 0) f.setPointSize(std::max(1, static_cast<int>(f.pointSizeF() + 0.5)));
  if (f.pointSize() <= 0) f.setPointSize(10);
  auto too_big = [&] {
    const QFontMetrics fm = Metrics(f, device);
    if (report_width * ReportMetrics::CharWidth(fm) > area_width) return true;
    return height > 0 && lines * std::max(1, fm.height()) > height;
  };
  while (f.pointSize() > floor_points && too_big()) f.setPointSize(f.pointSize() - 1);
  return f;
}

void SetLineFont(QPainter& p, const QFont& font, bool bold) {
  QFont f = font;
  f.setBold(bold);
  p.setFont(f);
}

void PaintReportCell(QPainter& p, const ReportCell& cell, const ReportMetrics& m, int y) {
  switch (cell.kind) {
    case ReportCell::Kind::kVRule:
      p.setPen(QPen(Qt::black, 0));
      p.drawLine(m.X(cell.column), y, m.X(cell.column), y + m.line_height);
      return;
    case ReportCell::Kind::kHRule:
      p.setPen(QPen(Qt::black, 0));
      p.drawLine(m.X(cell.column), y, m.X(cell.column2), y);
      return;
    case ReportCell::Kind::kLeft:
    case ReportCell::Kind::kRight:
    case ReportCell::Kind::kCentre: {
      const int width = p.fontMetrics().horizontalAdvance(cell.text);
      int x = m.X(cell.column);
      if (cell.kind == ReportCell::Kind::kRight) x -= width;
      if (cell.kind == ReportCell::Kind::kCentre) x -= width / 2;
      p.setPen(Qt::black);
      p.drawText(x, y + m.ascent, cell.text);
      return;
    }
    default:
      return;
  }
}

void PaintUnderline(QPainter& p, const ReportMetrics& m, int y) {
  p.setPen(QPen(Qt::black, 0));
  p.drawLine(m.left_margin, y, m.right_end, y);
}

}  // namespace kpr
