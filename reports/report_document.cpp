#include "reports/report_document.h"

namespace kpr {
namespace {

int Column(const QString& cell, int from) {
  bool ok = false;
  const int n = cell.mid(from, 2).trimmed().toInt(&ok);
  return ok ? n : 0;
}

}  // namespace

ReportCell ReportCell::Parse(const QString& cell) {
  ReportCell c;
  if (cell.isEmpty()) return c;
  switch (cell[0].unicode()) {
    case 'L': c.kind = Kind::kLeft; break;
    case 'R': c.kind = Kind::kRight; break;
    case 'C': c.kind = Kind::kCentre; break;
    case 'E': c.kind = Kind::kEject; return c;
    case 'V': c.kind = Kind::kVRule; break;
    case 'H': c.kind = Kind::kHRule; c.column2 = Column(cell, 3); break;
    default: c.kind = Kind::kOther; return c;
  }
  c.column = Column(cell, 1);
  if (c.IsText()) c.text = cell.mid(3);
  return c;
}

ReportDocument::ReportDocument(int report_width, int cells_per_line, int lines_per_page)
    : report_width_(report_width), cells_per_line_(cells_per_line), lines_per_page_(lines_per_page) {}

void ReportDocument::NewLine() { lines_.emplace_back(cells_per_line_); }

bool ReportDocument::Eject(int line) const {
  for (int c = 0; c + 1 < cells_per_line_; ++c) {
    if (ReportCell::Parse(lines_[line][c]).kind == ReportCell::Kind::kEject) return true;
  }
  return false;
}

}  // namespace kpr
