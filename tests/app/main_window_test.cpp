#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "app/about_box.h"
#include "app/progress_box.h"
#include "store/clock.h"
#include "store/locale_formats.h"
#include "tests/support/data_dir.h"

namespace kpr {
namespace {

class MainWindowTest : public testing::DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    LocaleFormats::SetForTesting(QLocale(QLocale::English, QLocale::UnitedStates));
    Clock::SetFixed(QDateTime(QDate(2027, 2, 15), QTime(9, 0)));
  }
  void TearDown() override {
    window_.reset();
    Clock::Reset();
    LocaleFormats::ResetForTesting();
  }

  MainWindow& Start(bool expect_ok = true) {
    window_ = std::make_unique<MainWindow>(*store_);
    window_->set_splash_milliseconds(0);
    EXPECT_EQ(window_->StartUp(), expect_ok);
    return *window_;
  }

  template <typename T>
  T* Find(const char* name) {
    T* w = window_->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  QStringList FolderItems() {
    QStringList out;
    auto* box = Find<QComboBox>("FolderCBox");
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
  }

  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, StartUpShowsTheCurrentMonthAsReportRange) {
  struct Case {
    QDate today;
    QString from, through;
  };
  for (const Case& c : {Case{QDate(2027, 2, 15), "02/01/27", "02/28/27"},
                        Case{QDate(2028, 2, 15), "02/01/28", "02/29/28"},
                        Case{QDate(2026, 12, 10), "12/01/26", "12/31/26"}}) {
    Clock::SetFixed(QDateTime(c.today, QTime(9, 0)));
    MainWindow& w = Start();
    EXPECT_EQ(Find<QLineEdit>("MaskEdit1")->text(), c.from);
    EXPECT_EQ(Find<QLineEdit>("MaskEdit2")->text(), c.through);
    EXPECT_EQ(w.state().ReportFrom.date(), QDate(c.today.year(), c.today.month(), 1));
    EXPECT_EQ(w.state().ReportThrough.time(), QTime(0, 0));
    window_.reset();
  }
}

TEST_F(MainWindowTest, CaptionCarriesTheBusinessName) {
  store_->OpenSettings();
  store_->LoadSettings();
  store_->Settings.UName = "  Harbor Lights  ";
  ASSERT_TRUE(store_->StoreSettings().ok());
  store_->CloseAll();
  MainWindow& w = Start();
  EXPECT_EQ(w.windowTitle(), "TARN Ledgerline 1.06 - Harbor Lights");
  EXPECT_FALSE(w.state().SplashMode);
  EXPECT_TRUE(store_->engine().tables().empty()) << "no table stays open";
}

TEST_F(MainWindowTest, MissingTableStopsWithTheMessageAndCreatesNothing) {
  for (const char* f : {"FolTag.ntx", "Folder.cgp", "IncDate.ntx"}) std::remove(Path(f).c_str());
  std::remove(Path("FOLDER.dbf").c_str());
  Start(/*expect_ok=*/false);
  ASSERT_EQ(ui_.texts().size(), 1u);
  EXPECT_EQ(ui_.texts()[0],
            "Database files not found in startup directory\r\nProgram must be started from the "
            "directory containing the data files.");
  for (const char* f : {"FolTag.ntx", "Folder.cgp", "IncDate.ntx"}) {
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path(f)))) << f;
  }
}

TEST_F(MainWindowTest, MissingIndexFilesAreRecreatedSilently) {
  QDir dir(QString::fromStdString(dir_.path()));
  for (const QString& f : dir.entryList({"*.ntx", "*.cgp"})) ASSERT_TRUE(dir.remove(f));
  Start();
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_TRUE(ui_.progress().empty());
  EXPECT_EQ(dir.entryList({"*.ntx"}).size(), 7);
  EXPECT_EQ(dir.entryList({"*.cgp"}).size(), 5);
}

TEST_F(MainWindowTest, SecondCopyOnTheSameDirectoryIsRefused) {
  Start();
  testing::ScriptedUi other_ui;
  DataStore other_store(dir_.path(), &other_ui);
  MainWindow second(other_store);
  second.set_splash_milliseconds(0);
  EXPECT_FALSE(second.StartUp());
  ASSERT_EQ(other_ui.texts().size(), 1u);
  EXPECT_TRUE(other_ui.texts()[0].startsWith("TARN Ledgerline is already running"));
}

TEST_F(MainWindowTest, FolderBoxListsFoldersAndChoosingSetsDefaultFolder) {
  AddFolders({1, 2});
  MainWindow& w = Start();
  w.RefillFolderBoxIfNeeded();
  const QString pad = QString(30 - 8, ' ');
  EXPECT_EQ(FolderItems(), (QStringList{"  -1 - No Default", "   1 - Folder 1" + pad,
                                        "   2 - Folder 2" + pad}));
  w.FolderChosen(2);
  EXPECT_EQ(w.state().DefaultFolder, 2);
  w.FolderChosen(0);
  EXPECT_EQ(w.state().DefaultFolder, -1);
}

TEST_F(MainWindowTest, TypingIntoTheFolderBoxChangesNothing) {
  AddFolders({1, 2});
  MainWindow& w = Start();
  w.RefillFolderBoxIfNeeded();
  auto* box = Find<QComboBox>("FolderCBox");
  QTest::keyClick(box, Qt::Key_Down);
  QTest::keyClick(box, Qt::Key_2);
  QTest::keyClicks(box, "Folder");
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(w.state().DefaultFolder, -1);
}

TEST_F(MainWindowTest, EraseAllLeavesOnlyNoDefaultButKeepsTheDefaultFolder) {
  AddFolders({1, 2});
  MainWindow& w = Start();
  w.RefillFolderBoxIfNeeded();
  w.FolderChosen(2);
  for (int i = 0; i < 5; ++i) ui_.Answer(true);
  w.EraseDataClicked();
  EXPECT_TRUE(w.state().RefillFolderBox);
  w.RefillFolderBoxIfNeeded();
  EXPECT_EQ(FolderItems(), QStringList{"  -1 - No Default"});
  EXPECT_EQ(Find<QComboBox>("FolderCBox")->currentIndex(), 0);
  EXPECT_EQ(w.state().DefaultFolder, 2);
}

TEST_F(MainWindowTest, InvalidReportDateIsRefusedAndTheRangeKept) {
  MainWindow& w = Start();
  auto* from = Find<QLineEdit>("MaskEdit1");
  const QDateTime before = w.state().ReportFrom;
  from->setText("13/01/27");
  EXPECT_FALSE(w.RangeLeft(from));
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Invalid Date Entered"});
  EXPECT_EQ(w.state().ReportFrom, before);
  from->setText("03/07/27");
  EXPECT_TRUE(w.RangeLeft(from));
  EXPECT_EQ(w.state().ReportFrom.date(), QDate(2027, 3, 7));
}

TEST_F(MainWindowTest, LeavingPacksOnlyAfterADeletion) {
  AddFolders({1, 2});
  {
    MainWindow& w = Start();
    w.close();
    EXPECT_TRUE(ui_.progress().empty());
    window_.reset();
  }
  MainWindow& w = Start();
  store_->OpenFolders();
  ASSERT_TRUE(store_->folder->Delete().ok());
  store_->PackPending = true;
  store_->CloseAll();
  w.close();
  ASSERT_FALSE(ui_.progress().empty());
  EXPECT_EQ(ui_.progress().front(), "show:Packing Data Files");
  EXPECT_EQ(ui_.progress().back(), "hide");
  store_->OpenFolders();
  EXPECT_EQ(store_->folder->RecCount(), 1u);
  store_->CloseAll();
}

TEST_F(MainWindowTest, AboutShowsOkOnlyAfterTheSplash) {
  window_ = std::make_unique<MainWindow>(*store_);
  window_->set_splash_milliseconds(0);
  window_->about_box()->SetSplashMode(true);
  EXPECT_FALSE(window_->about_box()->ok_visible());
  ASSERT_TRUE(window_->StartUp());
  EXPECT_TRUE(window_->about_box()->ok_visible());
  EXPECT_FALSE(window_->about_box()->isVisible());
}

TEST_F(MainWindowTest, UnbuiltOperationsAreDisabledAndSaySo) {
  Start();
  for (const char* name : {"BtnBackup", "BtnUpgrade"}) {
    auto* b = Find<QToolButton>(name);
    EXPECT_FALSE(b->isEnabled()) << name;
    EXPECT_TRUE(b->toolTip().contains("Not available")) << name;
  }
  for (const char* name : {"BtnReIndex", "BtnPack", "BtnEraseData", "BtnFolders", "BtnAccountE",
                           "BtnAccountI", "BtnIncome", "BtnExpense"}) {
    EXPECT_TRUE(Find<QToolButton>(name)->isEnabled()) << name;
  }
}

TEST_F(MainWindowTest, ChartOfAccountsMenusOpenTheViewerOnTheirChart) {
  AddAccounts(true, {1, 2});
  MainWindow& w = Start();
  for (QMenu* menu : w.findChildren<QMenu*>()) {
    for (QAction* a : menu->actions()) {
      if (a->text() == "&Chart of Accounts") {
        EXPECT_TRUE(a->isEnabled());
      }
    }
  }
  QString shown;
  ui_.OnModal([&](QDialog* viewer) {
    shown = viewer->objectName();
    return 0;
  });
  w.ChartOfAccountsClicked(/*income_chart=*/true);
  EXPECT_EQ(shown, "TReportF");
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_TRUE(store_->engine().tables().empty()) << "the operation closes its tables";

  w.ChartOfAccountsClicked(/*income_chart=*/false);  // the expense chart is empty
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Report contains no data."});
}

}  // namespace
}  // namespace kpr
