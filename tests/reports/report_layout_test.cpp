// The layout routines: page breaks, page headers and centring.
#include <gtest/gtest.h>

#include "reports/report_layout.h"
#include "store/clock.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

class ReportLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LocaleFormats::SetForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
    Clock::SetFixed(QDateTime(QDate(1999, 6, 30), QTime(12, 0)));
  }
  void TearDown() override {
    Clock::Reset();
    LocaleFormats::ResetForTesting();
  }
  // A layout of `width` columns, 3 cells, two titles and two heading lines.
  void Start(int width, int lines_per_page, int titles = 2, int heading_lines = 2) {
    layout_.StartReport(width, 3, lines_per_page);
    layout_.ReportTitles.clear();
    for (int i = 0; i < titles; ++i) layout_.ReportTitles << QString("Title %1").arg(i + 1);
    layout_.ColumnHeadings.assign(heading_lines, QStringList{"R05No.", "L10Name", ""});
    layout_.ColumnHeadings.back()[2] = "U";
    layout_.SectionHeading = "Section";
  }
  // Appends `n` body lines, each asking for room first.
  void Body(int n) {
    for (int i = 0; i < n; ++i) {
      layout_.CheckPageBreak(layout_.LinesOnPage + 1, true);
      layout_.NewLine();
      layout_.Set(0, "L00body");
    }
  }
  int Ejects() const {
    int n = 0;
    for (int l = 0; l <= layout_.LastLine(); ++l) n += layout_.document().Eject(l) ? 1 : 0;
    return n;
  }
  ReportLayout layout_;
};

TEST_F(ReportLayoutTest, PageHeaderLines) {
  struct Case {
    int titles, heading_lines;
    bool with_headings;
    int header_lines;
  };
  for (const Case& c : {Case{2, 2, true, 9}, Case{1, 1, true, 7}, Case{1, 2, false, 5},
                        Case{2, 1, false, 6}}) {
    Start(76, 60, c.titles, c.heading_lines);
    EXPECT_TRUE(layout_.CheckPageBreak(0, c.with_headings));
    EXPECT_EQ(layout_.LastLine() + 1, c.header_lines) << c.titles << c.heading_lines;
    EXPECT_EQ(layout_.LinesOnPage, c.header_lines);
    EXPECT_EQ(layout_.PageNumber, 1);
    EXPECT_EQ(Ejects(), 0);
  }
}

TEST_F(ReportLayoutTest, PageLineAndTitlesAreCentredOnHalfTheWidth) {
  struct Case {
    int width;
    const char* centre;
    const char* date_end;
  };
  for (const Case& c : {Case{76, "C38", "R76"}, Case{40, "C20", "R40"}, Case{99, "C49", "R99"}}) {
    Start(c.width, 60);
    layout_.CheckPageBreak(0, true);
    const ReportDocument& d = layout_.document();
    EXPECT_EQ(d.Cell(0, 0), "L00Page 1");
    EXPECT_EQ(d.Cell(1, 0), QString(c.date_end) + "06/30/99");
    EXPECT_EQ(d.Cell(0, 1), "");
    EXPECT_EQ(d.Cell(0, 2), QString(c.centre) + "Title 1");
    EXPECT_EQ(d.Style(2), "B");
    EXPECT_EQ(d.Cell(0, 3), QString(c.centre) + "Title 2");
    EXPECT_EQ(d.Cell(0, 5), "L00Section");
    EXPECT_EQ(d.Style(8), "U");
  }
}

TEST_F(ReportLayoutTest, PagesBreakOnlyWhenTheLinesDoNotFit) {
  // Header of 9 lines: every page of P lines holds P - 9 body lines.
  struct Case {
    int lines_per_page, body, pages;
  };
  for (const Case& c : {Case{20, 11, 1}, Case{20, 12, 2}, Case{20, 22, 2},
                        Case{20, 23, 3}, Case{60, 51, 1}, Case{60, 52, 2}}) {
    Start(40, c.lines_per_page);
    Body(c.body);
    EXPECT_EQ(layout_.PageNumber, c.pages) << c.lines_per_page << " " << c.body;
    EXPECT_EQ(Ejects(), c.pages - 1);
  }
}

// The EJECT line is appended before the count restarts: it belongs to the
// page it closes, as one line more than the page prints.
TEST_F(ReportLayoutTest, EjectBelongsToThePageItCloses) {
  for (int per_page : {12, 20, 60}) {
    Start(40, per_page);
    Body(3 * per_page);
    int on_page = 0;
    for (int l = 0; l <= layout_.LastLine(); ++l) {
      ++on_page;
      if (layout_.document().Eject(l)) {
        EXPECT_EQ(on_page, per_page + 1) << "a full page and its EJECT";
        on_page = 0;
        EXPECT_TRUE(layout_.document().Cell(0, l + 1).startsWith("L00Page "));
      }
    }
    EXPECT_LE(on_page, per_page);
  }
}

TEST_F(ReportLayoutTest, EmptySectionHeadingStillGivesItsTwoLines) {
  Start(40, 60);
  layout_.SectionHeading = "";
  layout_.AddSectionHeading();
  ASSERT_EQ(layout_.LastLine(), 1);
  EXPECT_EQ(layout_.document().Cell(0, 0), "");
  EXPECT_EQ(layout_.document().Cell(0, 1), "L00");
}

TEST_F(ReportLayoutTest, SectionChange) {
  struct Case {
    int body_before;  // lines of section 1 on a 30-line page
    bool new_page;
  };
  // Page 1: 9 header lines; the change needs 6 lines (blank, blank, heading,
  // blank, two heading lines) besides what is on the page.
  for (const Case& c : {Case{0, false}, Case{15, false}, Case{16, true}}) {
    Start(40, 30);
    Body(c.body_before);
    const int before = layout_.LastLine();
    layout_.SectionHeading = "Second";
    layout_.ChangeSection();
    if (c.body_before == 0) {
      EXPECT_EQ(layout_.LastLine(), -1);
      continue;
    }
    EXPECT_EQ(layout_.PageNumber, c.new_page ? 2 : 1) << c.body_before;
    if (!c.new_page) {
      EXPECT_EQ(layout_.LastLine(), before + 6);
      EXPECT_EQ(layout_.document().Cell(0, before + 3), "L00Second");
    }
  }
}

TEST(ReportAmountTextTest, ThirteenCharactersRightAligned) {
  LocaleFormats::SetForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(ReportAmountText(1234.5), "     1,234.50");
  EXPECT_EQ(ReportAmountText(-0.004), "         0.00");
  EXPECT_EQ(ReportAmountText(-12.0), "       -12.00");
  LocaleFormats::ResetForTesting();
}

}  // namespace
}  // namespace kpr
