// The chart of accounts' run, the folder choice, the fiscal year start, and
// kprdata report against the viewer's export.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QProcess>

#include "reports/report_export.h"
#include "reports/report_folders.h"
#include "reports/t_mult_fol.h"
#include "reports/t_report_f.h"
#include "tests/support/paths.h"
#include "tests/reports/report_fixture.h"

namespace kpr {
namespace {

class ReportFrameTest : public ReportFixture {};

TEST_F(ReportFrameTest, EmptyChartSaysSoAndShowsNoViewer) {
  store_->OpenExpenseAccounts();
  ChartOfAccountsReport({*store_, QFont(), nullptr, nullptr}, false);
  store_->CloseAll();
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Report contains no data."});
  EXPECT_EQ(ui_.progress().front(), "show:Building Report");
  EXPECT_FALSE(ui_.progress_visible());
}

TEST_F(ReportFrameTest, ChartOpensTheViewerOnItsDocument) {
  AddChart(true, {{1, "Fees", true}});
  int lines = -1;
  ui_.OnModal([&](QDialog* form) {
    lines = qobject_cast<TReportF*>(form) ? 1 : 0;
    return 0;
  });
  store_->OpenIncomeAccounts();
  ChartOfAccountsReport({*store_, QFont(), nullptr, nullptr}, true);
  store_->CloseAll();
  EXPECT_EQ(lines, 1);
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_EQ(ui_.progress().back(), "hide");
}

struct ChartCase {
  int flagged, unflagged, per_page;
  int pages;
  const char* first_section;
};

class ChartSectionsTest : public ReportFixture, public ::testing::WithParamInterface<ChartCase> {};

// 7 header lines, one line per account, the section change 6 lines.
TEST_P(ChartSectionsTest, SectionsAndPages) {
  const ChartCase& c = GetParam();
  std::vector<AccountRecord> accounts;
  for (int i = 0; i < c.flagged + c.unflagged; ++i) {
    accounts.push_back({10 + i, QString("Account %1").arg(i), i < c.flagged});
  }
  AddChart(false, accounts);
  const auto doc = Chart(false, c.per_page);
  const QString text = QString::fromLatin1(ExportBytes(*doc, ExportLayout::kText));
  EXPECT_EQ(text.count("Page "), c.pages);
  EXPECT_EQ(doc->Cell(0, 4), "L00" + QString(c.first_section));
  EXPECT_TRUE(text.contains("Non-Deductible Accounts"));
  EXPECT_EQ(doc->Style(doc->LastLine() - 1), "U");
  EXPECT_EQ(doc->Cell(0, doc->LastLine()), "");
}

INSTANTIATE_TEST_SUITE_P(Charts, ChartSectionsTest,
                         ::testing::Values(ChartCase{3, 0, 60, 1, "Deductible Accounts"},
                                           ChartCase{0, 3, 60, 1, "Non-Deductible Accounts"},
                                           ChartCase{20, 0, 20, 2, "Deductible Accounts"},
                                           ChartCase{13, 1, 20, 2, "Deductible Accounts"},
                                           ChartCase{7, 1, 20, 1, "Deductible Accounts"}));

TEST_F(ReportFrameTest, FolderChoice) {
  store_->OpenFolders();
  EXPECT_TRUE(SelectReportFolders(*store_).empty());
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Create folders before running reports"});
  store_->CloseAll();
  AddFolders({7});
  store_->OpenFolders();
  EXPECT_EQ(SelectReportFolders(*store_), std::vector<int>{7});
  EXPECT_EQ(FolderTitleName(*store_, 7), "Folder 7");
  EXPECT_EQ(FolderTitleName(*store_, 99), "");
  store_->CloseAll();
  AddFolders({3, 12});
  struct Case {
    std::vector<int> clicks;  // rows; -1 = All
    bool run;
    std::vector<int> folders;
  };
  for (const Case& c : {Case{{-1}, true, {3, 7, 12}}, Case{{2, 0}, true, {3, 12}},
                        Case{{}, true, {}}, Case{{-1}, false, {}}}) {
    ui_.OnModal([&](QDialog* form) {
      auto* f = static_cast<TMultFol*>(form);
      EXPECT_TRUE(f->list()->item(0)->text().startsWith("   3 - Folder 3 "));
      for (int row : c.clicks) {
        if (row < 0) {
          f->BtnAllClick();
        } else {
          f->list()->item(row)->setSelected(true);
        }
      }
      c.run ? f->BtnRunClick() : f->BtnCancelClick();
      return 0;
    });
    store_->OpenFolders();
    EXPECT_EQ(SelectReportFolders(*store_), c.folders);
    store_->CloseAll();
  }
  EXPECT_EQ(SelectedFolderIndex({3, 12}, 12), 1);
  EXPECT_EQ(SelectedFolderIndex({}, 3), -1);
}

TEST(FiscalYearStartTest, LatestStartOnOrBeforeTheDate) {
  struct Case {
    QDate date;
    int month, day;
    QDate start;
  };
  for (const Case& c : {Case{{1999, 6, 30}, 7, 1, {1998, 7, 1}}, Case{{1999, 7, 1}, 7, 1, {1999, 7, 1}},
                        Case{{1999, 7, 14}, 7, 15, {1998, 7, 15}}, Case{{1999, 12, 31}, 1, 1, {1999, 1, 1}},
                        Case{{2000, 2, 29}, 2, 28, {2000, 2, 28}}}) {
    EXPECT_EQ(FiscalYearStart(c.date, c.month, c.day), c.start) << c.date.toString().toStdString();
  }
}

TEST_F(ReportFrameTest, KprdataReportWritesTheViewersExportBytes) {
  Clock::Reset();  // the command dates its pages today
  LocaleFormats::ResetForTesting();
  AddChart(false, {{10, QString::fromUtf8("Café"), true}, {20, "Rent", false}});
  const QString kprdata = QString::fromStdString(testing::BinaryDir()) + "/tools/kprdata";
  struct Case {
    QStringList args;
    int status;
    ExportLayout layout;
  };
  const QString dir = QString::fromStdString(dir_.path());
  for (const Case& c : {Case{{"--chart", "expense", "--format", "txt"}, 0, ExportLayout::kText},
                        Case{{"--chart", "expense", "--format", "tsv"}, 0, ExportLayout::kTabs},
                        Case{{"--chart", "income", "--format", "txt"}, 1, ExportLayout::kText},
                        Case{{"--chart", "both", "--format", "txt"}, 2, ExportLayout::kText},
                        Case{{"--chart", "income", "--format", "pdf"}, 2, ExportLayout::kText}}) {
    QProcess p;
    p.start(kprdata, QStringList{"report", dir, "chart-of-accounts"} + c.args);
    ASSERT_TRUE(p.waitForFinished(60000)) << kprdata.toStdString() << ": " << p.errorString().toStdString();
    EXPECT_EQ(p.exitCode(), c.status) << c.args.join(' ').toStdString();
    if (c.status == 0) {
      EXPECT_EQ(p.readAllStandardOutput(), ExportBytes(*Chart(false), c.layout));
    }
    if (c.status == 1) {
      EXPECT_TRUE(p.readAllStandardError().contains("Report contains no data."));
    }
  }
  QProcess p;
  p.start(kprdata, {"report", QString::fromStdString(Path("missing")), "chart-of-accounts", "--chart",
                    "income", "--format", "txt"});
  ASSERT_TRUE(p.waitForFinished(60000)) << kprdata.toStdString() << ": " << p.errorString().toStdString();
  EXPECT_EQ(p.exitCode(), 2);
}

}  // namespace
}  // namespace kpr
