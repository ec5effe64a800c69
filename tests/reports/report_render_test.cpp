// The renderings of a document: PDF pages (read back with poppler's
// pdftotext and pdfinfo) and the viewer's screen metrics.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>

#include "reports/report_printer.h"
#include "reports/t_report_f.h"
#include "tests/reports/report_fixture.h"

namespace kpr {
namespace {

QString Tool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportRenderTest : public ReportFixture {
 protected:
  QFont Font(int points) {
    QFont f("DejaVu Sans Mono");
    f.setPointSize(points);
    return f;
  }
  // A document `width` wide whose pages come from a layout of `per_page`.
  ReportDocument Lines(int width, int lines, int per_page = 60) {
    ReportLayout layout;
    layout.StartReport(width, 3, per_page);
    layout.ReportTitles = {"Title"};
    layout.ColumnHeadings = {{"R05No.", "L10Name", "U"}};
    for (int i = 0; i < lines; ++i) {
      layout.CheckPageBreak(layout.LinesOnPage + 1, true);
      layout.NewLine();
      layout.Set(0, QString("R%1%2").arg(width, 2).arg(QString("E%1").arg(i)));
      layout.Set(1, QString("L00S%1").arg(i));
    }
    return std::move(*layout.TakeDocument());
  }
};

TEST_F(ReportRenderTest, PdfPagesBreakAtEachEjectAndKeepTheRightEdge) {
  struct Case {
    int width, lines, font_points;
  };
  for (const Case& c : {Case{40, 10, 10}, Case{99, 120, 14}, Case{76, 200, 40}}) {
    const ReportDocument doc = Lines(c.width, c.lines);
    int ejects = 0;
    for (int l = 0; l <= doc.LastLine(); ++l) ejects += doc.Eject(l) ? 1 : 0;
    const QString pdf = QString::fromStdString(Path("out.pdf"));
    ASSERT_TRUE(PrintReportToPdf(doc, Font(c.font_points), nullptr, pdf));
    EXPECT_TRUE(Tool("pdfinfo", {pdf}).contains(QRegularExpression(
        QString("Pages:\\s+%1\\n").arg(ejects + 1))))
        << c.width << " " << c.lines;
    const QString text = Tool("pdftotext", {"-layout", pdf, "-"});
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), ejects + 1);
    // Every line reached the page it belongs to, whole: the text ending at the
    // right edge and the last line before each break.
    int page = 0;
    for (int l = 0; l <= doc.LastLine(); ++l) {
      if (doc.Eject(l)) {
        ++page;
        continue;
      }
      const QString right = ReportCell::Parse(doc.Cell(0, l)).text;
      if (right.startsWith('E')) {
        EXPECT_TRUE(pages[page].contains(QRegularExpression("\\b" + right + "\\n")))
            << right.toStdString() << " on page " << page + 1;
      }
    }
  }
}

TEST_F(ReportRenderTest, PdfFontShrinksUntilAPageHoldsItsLines) {
  // 60 lines a page at 40 points do not fit an A4 page unless shrunk.
  const ReportDocument doc = Lines(40, 53);  // 7 header lines + 53: one full page
  const QString pdf = QString::fromStdString(Path("tall.pdf"));
  ASSERT_TRUE(PrintReportToPdf(doc, Font(40), nullptr, pdf));
  EXPECT_TRUE(Tool("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
  EXPECT_TRUE(Tool("pdftotext", {pdf, "-"}).contains("E52"));
}

TEST_F(ReportRenderTest, PrintWithoutPrinterAsksForAPdfFile) {
  const ReportDocument doc = Lines(40, 3);
  QPrinter pdf_printer(QPrinter::HighResolution);
  pdf_printer.setOutputFormat(QPrinter::PdfFormat);
  EXPECT_FALSE(HasPrinter(&pdf_printer));
  EXPECT_EQ(LinesPerPage(&pdf_printer, Font(10)), 60);
  ui_.AnswerFile(QString::fromStdString(Path("printed")));
  EXPECT_TRUE(PrintReportDocument(doc, Font(10), &pdf_printer, ui_));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("printed.pdf"))));
  ASSERT_EQ(ui_.texts().size(), 1u);
  EXPECT_TRUE(ui_.texts()[0].startsWith("No printer is installed"));
  ui_.AnswerFile(QString::fromStdString(Path("no/such/dir/x.pdf")));
  EXPECT_FALSE(PrintReportDocument(doc, Font(10), &pdf_printer, ui_));
  EXPECT_EQ(ui_.texts().back(), "Unable to save to: " + QString::fromStdString(Path("no/such/dir/x.pdf")));
}

TEST_F(ReportRenderTest, ViewerScrollBarOnlyWhenLinesDoNotFit) {
  // Lines per screen from a first document, then documents around it.
  const ReportDocument probe = Lines(40, 1);
  TReportF first(probe, Font(10), nullptr, ui_);
  first.show();
  QApplication::processEvents();
  const int per_screen = first.lines_per_screen();
  ASSERT_GT(per_screen, 5);
  first.close();
  struct Case {
    int extra;  // lines beyond a full screen
    bool visible;
    int maximum;
  };
  for (const Case& c : {Case{-1, false, 0}, Case{0, false, 0}, Case{1, true, 1}, Case{7, true, 7}}) {
    ReportDocument doc(40, 3, 60);
    for (int i = 0; i < per_screen + c.extra; ++i) doc.NewLine();
    TReportF viewer(doc, Font(10), nullptr, ui_);
    viewer.show();
    QApplication::processEvents();
    EXPECT_EQ(viewer.lines_per_screen(), per_screen);
    EXPECT_EQ(viewer.scroll_bar()->isVisible(), c.visible) << c.extra;
    EXPECT_EQ(viewer.scroll_bar()->maximum(), c.maximum) << c.extra;
    if (c.visible) {
      EXPECT_EQ(viewer.scroll_bar()->pageStep(), per_screen - 1);
    }
    viewer.close();
  }
}

TEST_F(ReportRenderTest, ViewerFontShrinksToFitButNotBelowEightPoints) {
  struct Case {
    int width, points;
    bool shrunk, floor;
  };
  for (const Case& c : {Case{40, 10, false, false}, Case{99, 60, true, false},
                        Case{99, 200, true, false}}) {
    ReportDocument doc(c.width, 3, 60);
    doc.NewLine();
    TReportF viewer(doc, Font(c.points), nullptr, ui_);
    viewer.show();
    QApplication::processEvents();
    const int size = viewer.screen_font().pointSize();
    EXPECT_GE(size, TReportF::kFloorPoints);
    EXPECT_EQ(size < c.points, c.shrunk) << c.width << " " << c.points;
    if (size > TReportF::kFloorPoints) {
      EXPECT_LE(c.width * viewer.metrics().char_width, viewer.available_width());
    }
    viewer.close();
  }
  // A window too narrow for 99 columns stops at 8 points.
  ReportDocument wide(99, 3, 60);
  wide.NewLine();
  TReportF narrow(wide, Font(12), nullptr, ui_);
  narrow.setWindowState(Qt::WindowNoState);
  narrow.show();
  narrow.resize(200, 300);
  QApplication::processEvents();
  EXPECT_EQ(narrow.screen_font().pointSize(), TReportF::kFloorPoints);
}

}  // namespace
}  // namespace kpr
