#include "reports/report_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/codepage.h"

namespace kpr {

QString ExportLine(const ReportDocument& doc, int line, ExportLayout layout) {
  QString out;
  for (int c = 0; c + 1 < doc.CellsPerLine(); ++c) {
    const QString& raw = doc.Cell(c, line);
    if (raw.isEmpty()) continue;
    const ReportCell cell = ReportCell::Parse(raw);
    if (!cell.IsText()) continue;
    if (layout == ExportLayout::kTabs) {
      if (!out.isEmpty()) out += QChar('\t');
      out += cell.text;
      continue;
    }
    int target = cell.column;
    if (cell.kind == ReportCell::Kind::kRight) target -= cell.text.size();
    if (cell.kind == ReportCell::Kind::kCentre) target -= cell.text.size() / 2;
    if (out.size() < target) out += QString(target - out.size(), QChar(' '));
    out += cell.text;
  }
  return out;
}

QByteArray ExportBytes(const ReportDocument& doc, ExportLayout layout) {
  QByteArray bytes;
  for (int line = 0; line <= doc.LastLine(); ++line) {
    const std::string text = Utf8ToCp1252(ExportLine(doc, line, layout).toStdString());
    bytes.append(text.data(), static_cast<qsizetype>(text.size()));
    bytes.append("\r\n");
  }
  return bytes;
}

bool SaveExport(const ReportDocument& doc, ExportLayout layout, const QString& path, UiServices& ui) {
  if (QFile::exists(path)) QFile::remove(path);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    ui.Inform("Unable to save to: " + path);
    return false;
  }
  const QByteArray bytes = ExportBytes(doc, layout);
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    ui.Message(UiServices::Kind::kError, UiServices::Buttons::kOk,
               "I/O error writing " + path + ": " + file.errorString());
    return false;
  }
  return true;
}

bool ExportReport(const ReportDocument& doc, ExportLayout layout, UiServices& ui) {
  const bool text = layout == ExportLayout::kText;
  const QString current = QDir::currentPath();
  QString path = ui.ChooseSaveFile("Export Report", text ? "Text files (*.txt *.TXT)"
                                                         : "Delimited files (*.asc *.ASC)");
  QDir::setCurrent(current);  // the data tables are found through it
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += text ? ".txt" : ".asc";
  return SaveExport(doc, layout, path, ui);
}

}  // namespace kpr
