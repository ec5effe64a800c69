// Export: the text and tab layouts of single lines, and whole files of a
// small chart of accounts compared byte for byte with golden files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "reports/chart_of_accounts_report.h"
#include "reports/report_export.h"
#include "store/clock.h"
#include "store/locale_formats.h"
#include "tests/reports/report_fixture.h"

namespace kpr {
namespace {

QString Line(int width, const QStringList& cells, ExportLayout layout) {
  ReportDocument doc(width, static_cast<int>(cells.size()) + 1, 60);
  doc.NewLine();
  for (int i = 0; i < cells.size(); ++i) doc.SetCell(i, 0, cells[i]);
  return ExportLine(doc, 0, layout);
}

TEST(ExportLineTest, TextLayout) {
  struct Case {
    QStringList cells;
    QString out;
  };
  const QString amount = "     1,234.50";
  const Case cases[] = {
      {{"L00Name", "R29" + amount}, "Name" + QString(16 - 4, ' ') + amount},
      {{"L05ab", "L03cd"}, "     abcd"},          // past its column: follows directly
      {{"C20abcd"}, QString(18, ' ') + "abcd"},  // centred: 20 - 4/2
      {{"C20abc"}, QString(19, ' ') + "abc"},    // 20 - Trunc(3/2)
      {{"R05  7"}, "  " + QString("  7")},
      {{"L10 x "}, QString(10, ' ') + " x "},  // blanks kept
      {{"EJECT", "V05", "H0010"}, ""},
      {{"L 5x", "R07y"}, "     xy"},  // " 5" and "05" both column 5
  };
  for (const Case& c : cases) EXPECT_EQ(Line(76, c.cells, ExportLayout::kText), c.out) << c.cells.join("|").toStdString();
}

TEST(ExportLineTest, TabLayout) {
  struct Case {
    QStringList cells;
    QString out;
  };
  const QString amount = "       -12.00";
  const Case cases[] = {
      {{"L00TOTAL EXPENSES", "R30", "R45", "R60", "R75" + amount},
       "TOTAL EXPENSES\t\t\t\t" + amount},
      {{"R30", "L40name"}, "name"},  // prefix-only first cell adds nothing
      {{"L00a", "", "L10b"}, "a\tb"},  // empty cell skipped
      {{"EJECT"}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Line(76, c.cells, ExportLayout::kTabs), c.out) << c.cells.join("|").toStdString();
}

class ChartExportTest : public ReportFixture {};

TEST_F(ChartExportTest, GoldenFiles) {
  struct Case {
    bool income;
    ExportLayout layout;
    const char* golden;
  };
  AddChart(false, {{10, "Advertising", true}, {20, QString::fromUtf8("Café Meetings"), false},
                   {30, QString(30, 'X'), true}});
  AddChart(true, {{1, "Design Fees", false}, {2, "Workshops", false}});
  for (const Case& c : {Case{false, ExportLayout::kText, "chart_expense.txt"},
                        Case{false, ExportLayout::kTabs, "chart_expense.asc"},
                        Case{true, ExportLayout::kText, "chart_income.txt"},
                        Case{true, ExportLayout::kTabs, "chart_income.asc"}}) {
    const auto doc = Chart(c.income);
    const QByteArray bytes = ExportBytes(*doc, c.layout);
    ExpectGolden(c.golden, bytes);
    // The same bytes reach a file.
    const QString path = QString::fromStdString(Path(c.golden));
    ASSERT_TRUE(SaveExport(*doc, c.layout, path, ui_));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
  }
}

TEST_F(ChartExportTest, UnwritableFileIsReported) {
  AddChart(true, {{1, "Design Fees", true}});
  const auto doc = Chart(true);
  const QString path = QString::fromStdString(Path("no/such/dir/out.txt"));
  EXPECT_FALSE(SaveExport(*doc, ExportLayout::kText, path, ui_));
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Unable to save to: " + path});
}

TEST_F(ChartExportTest, ExportDialogKeepsTheCurrentDirectoryAndAddsTheExtension) {
  AddChart(true, {{1, "Design Fees", true}});
  const auto doc = Chart(true);
  const QString before = QDir::currentPath();
  ui_.AnswerFile(QString::fromStdString(Path("out")));
  EXPECT_TRUE(ExportReport(*doc, ExportLayout::kTabs, ui_));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("out.asc"))));
  EXPECT_EQ(QDir::currentPath(), before);
  ui_.AnswerFile("");  // cancelled
  EXPECT_FALSE(ExportReport(*doc, ExportLayout::kText, ui_));
}

}  // namespace
}  // namespace kpr
