// The report document: a grid of text cells, one row per output line, that
// the viewer, the printer and the export render alike. Every line has
// CellsPerLine() cells; cells 0..CellsPerLine()-2 are content cells and the
// last is the line style cell ("B" bold, "U" rule under the line).
//
// A content cell is empty or begins with its code: "L", "R", "C" + two
// column characters + text (text starting at, ending at, centred on the
// column), "EJECT" (page break), "V" + nn (vertical rule), "H" + nn + mm
// (horizontal rule along the top of the line).
#pragma once

#include <QString>
#include <vector>

namespace kpr {

// One content cell, read.
struct ReportCell {
  enum class Kind { kEmpty, kLeft, kRight, kCentre, kEject, kVRule, kHRule, kOther };
  Kind kind = Kind::kEmpty;
  int column = 0;   // nn
  int column2 = 0;  // mm of an "H" cell
  QString text;     // from the fourth character on ("L", "R", "C")

  // A column field is two characters holding a decimal number, padded with a
  // blank or a zero; one that does not read counts as 0.
  static ReportCell Parse(const QString& cell);
  bool IsText() const { return kind == Kind::kLeft || kind == Kind::kRight || kind == Kind::kCentre; }
};

class ReportDocument {
 public:
  // REQUIRES: cells_per_line >= 2.
  ReportDocument(int report_width, int cells_per_line, int lines_per_page);

  int ReportWidth() const { return report_width_; }
  int CellsPerLine() const { return cells_per_line_; }
  // Most lines a printed page holds (the page breaks were laid out for it).
  int LinesPerPage() const { return lines_per_page_; }
  // Number of the last line; -1 for an empty document.
  int LastLine() const { return static_cast<int>(lines_.size()) - 1; }
  bool Empty() const { return lines_.empty(); }

  // Appends a line of empty cells.
  void NewLine();
  // REQUIRES: 0 <= cell < CellsPerLine(), 0 <= line <= LastLine().
  const QString& Cell(int cell, int line) const { return lines_[line][cell]; }
  void SetCell(int cell, int line, const QString& text) { lines_[line][cell] = text; }
  const QString& Style(int line) const { return lines_[line].back(); }
  void SetStyle(int line, const QString& style) { lines_[line].back() = style; }
  bool Bold(int line) const { return Style(line) == "B"; }
  bool Underlined(int line) const { return Style(line) == "U"; }
  // True when a content cell of the line is "EJECT".
  bool Eject(int line) const;

 private:
  int report_width_;
  int cells_per_line_;
  int lines_per_page_;
  std::vector<std::vector<QString>> lines_;
};

}  // namespace kpr
