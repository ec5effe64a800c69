// The main window's work: start-up, the Default Folder box, the report
// range, the operations of the File Maintenance page, help and leaving.
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <thread>

#include "app/about_box.h"
#include "app/guarded.h"
#include "app/help_viewer.h"
#include "app/main_window.h"
#include "app/progress_box.h"
#include "classify/account_chart.h"
#include "classify/account_form.h"
#include "classify/folder_form.h"
#include "classify/pick_account_form.h"
#include "classify/pick_folder_form.h"
#include "ledger/expense_form.h"
#include "ledger/income_form.h"
#include "ledger/pick_expense_form.h"
#include "ledger/pick_income_form.h"
#include "app/setup_page.h"
#include "maint/erase_data.h"
#include "maint/pack_tables.h"
#include "reports/chart_of_accounts_report.h"
#include "store/clock.h"
#include "store/date_text.h"
#include "store/locale_formats.h"

namespace kpr {

template <typename Fn>
void MainWindow::RunOperation(Fn&& fn) {
  struct CloseAll {
    DataStore& store;
    ~CloseAll() { store.CloseAll(); }
  } close_all{store_};
  Guarded(store_.ui(), fn);
}

bool MainWindow::StartUp() {
  UiServices& ui = store_.ui();
  state_.SplashMode = true;
  store_.PackPending = false;
  about_->SetSplashMode(true);
  about_->show();
  about_->repaint();
  QElapsedTimer splash;
  splash.start();
  auto close_splash = [this] {
    about_->hide();
    state_.SplashMode = false;
    about_->SetSplashMode(false);
  };

  if (!store_.DataFilesPresent()) {
    close_splash();
    ui.Inform("Database files not found in startup directory\r\nProgram must be started from the "
              "directory containing the data files.");
    return false;
  }
  const QString dir = QDir(QString::fromStdString(store_.directory())).absolutePath();
  if (!instance_lock_.Acquire(dir)) {
    close_splash();
    ui.Inform("TARN Ledgerline is already running on the data files in " + dir +
              ".\r\nOnly one copy of the program may use a data directory at a time.");
    return false;
  }
  store_.engine().ExitTest();
  store_.RebuildIndexes(true);
  store_.OpenSettings();
  store_.LoadSettings();
  store_.CloseAll();
  setWindowTitle("TARN Ledgerline 1.06 - " + store_.Settings.UName.trimmed());
  state_.FolderBoxIndex = 0;
  state_.DefaultFolder = -1;
  store_.PackPending = false;
  state_.RefillFolderBox = true;
  SetDefaultReportRange();
  setup_->Fill(font());
  range_from_->setText(LocaleFormats::DateToText(state_.ReportFrom.date()));
  range_through_->setText(LocaleFormats::DateToText(state_.ReportThrough.date()));

  // The splash stays up at least this long, however quick the start was.
  const qint64 rest = splash_ms_ - splash.elapsed();
  if (rest > 0) std::this_thread::sleep_for(std::chrono::milliseconds(rest));
  close_splash();
  update();
  return true;
}

void MainWindow::SetDefaultReportRange() {
  const QDate today = Clock::Today();
  const QDate first(today.year(), today.month(), 1);
  state_.ReportFrom = QDateTime(first, QTime(0, 0));
  state_.ReportThrough = QDateTime(first.addDays(first.daysInMonth() - 1), QTime(0, 0));
}

HelpViewer* MainWindow::help_viewer() {
  if (help_ == nullptr) help_ = new HelpViewer(this);
  return help_;
}

void MainWindow::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  // Widgets are not changed while painting: the refill runs just after.
  if (state_.RefillFolderBox) {
    QTimer::singleShot(0, this, &MainWindow::RefillFolderBoxIfNeeded);
  }
}

void MainWindow::RefillFolderBoxIfNeeded() {
  if (!state_.RefillFolderBox) return;
  state_.RefillFolderBox = false;
  Guarded(store_.ui(), [this] {
    store_.OpenFolders();
    folder_box_->clear();
    folder_box_->addItem("  -1 - No Default");
    Table* t = store_.folder;
    for (int r = store_.LastResult; r != Table::kEndOfFile; r = t->Skip(1)) {
      if (t->Deleted()) continue;
      folder_box_->addItem(QString::fromStdString(t->Text(store_.fol_f.FolNo)) + " - " +
                           QString::fromStdString(t->Text(store_.fol_f.FolName)));
    }
    store_.LastResult = Table::kEndOfFile;
    if (static_cast<int>(t->RecCount()) < state_.FolderBoxIndex) state_.FolderBoxIndex = 0;
    store_.engine().Close(t);
    store_.folder = nullptr;
    folder_box_->setCurrentIndex(
        state_.FolderBoxIndex < folder_box_->count() ? state_.FolderBoxIndex : 0);
  });
  setFocus();
}

void MainWindow::FolderChosen(int index) {
  state_.FolderBoxIndex = index;
  state_.DefaultFolder = folder_box_->itemText(index).left(4).trimmed().toInt();
}

void MainWindow::RangeTextChanged(QLineEdit* edit) {
  if (auto date = LocaleFormats::TextToDate(edit->text())) {
    (edit == range_from_ ? state_.ReportFrom : state_.ReportThrough) = QDateTime(*date, QTime(0, 0));
  }
}

bool MainWindow::RangeLeft(QLineEdit* edit) {
  QString text = edit->text();
  if (!ValidDate(&text, store_.ui())) return false;
  edit->setText(text);
  if (auto date = LocaleFormats::TextToDate(text)) {
    (edit == range_from_ ? state_.ReportFrom : state_.ReportThrough) = QDateTime(*date, QTime(0, 0));
  }
  return true;
}

void MainWindow::FoldersClicked() {
  RunOperation([this] {
    if (!store_.OpenFolders()) return;
    RunPickEditLoop(
        state_.SelFolder, [this] { store_.ui().RunModal(pick_fol_); },
        [this] { store_.ui().RunModal(folder_form_); });
  });
  state_.RefillFolderBox = true;
  update();
}

void MainWindow::IncomeClicked() {
  RunOperation([this] {
    if (!store_.OpenIncomes() || !store_.OpenFolders() || !store_.OpenIncomeAccounts()) return;
    RunPickEditLoop(
        state_.SelIncome, [this] { store_.ui().RunModal(pick_inc_); },
        [this] { store_.ui().RunModal(income_form_); });
  });
}

void MainWindow::ExpenseClicked() {
  RunOperation([this] {
    if (!store_.OpenExpenses() || !store_.OpenFolders() || !store_.OpenExpenseAccounts()) return;
    RunPickEditLoop(
        state_.SelExpense, [this] { store_.ui().RunModal(pick_exp_); },
        [this] { store_.ui().RunModal(expense_form_); });
  });
}

void MainWindow::AccountsClicked(const QString& kind) {
  RunOperation([this, kind] {
    if (!AccountChart(kind).Open(store_)) return;
    state_.AccountKind = kind;
    RunPickEditLoop(
        state_.SelAccount, [this] { store_.ui().RunModal(pick_acc_); },
        [this] { store_.ui().RunModal(account_form_); });
  });
}

void MainWindow::ChartOfAccountsClicked(bool income_chart) {
  RunOperation([this, income_chart] {
    if (income_chart) {
      store_.OpenIncomeAccounts();
    } else {
      store_.OpenExpenseAccounts();
    }
    ChartOfAccountsReport({store_, state_.ReportFont, &printer_, this}, income_chart);
  });
}

void MainWindow::ReIndexClicked() {
  RunOperation([this] { store_.RebuildIndexes(false); });
}

void MainWindow::PackClicked() {
  RunOperation([this] { PackTables(store_); });
}

void MainWindow::EraseDataClicked() {
  RunOperation([this] { EraseData(store_); });
  state_.RefillFolderBox = true;
  update();
}

void MainWindow::ShowAbout() {
  state_.SplashMode = false;
  about_->SetSplashMode(false);
  about_->exec();
}

void MainWindow::ShowHelp(const QString& topic) {
  // Over a modal form the help window belongs to the form, so that it can
  // be used while the form waits.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != help_) {
    auto* viewer = new HelpViewer(modal);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->ShowTopic(topic);
    return;
  }
  help_viewer()->ShowTopic(topic);
}

void MainWindow::Leave() {
  if (left_) return;
  left_ = true;
  store_.engine().ExitTest();
  if (store_.PackPending) {
    Guarded(store_.ui(), [this] { PackTables(store_); });
    store_.PackPending = false;
  }
  store_.CloseAll();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Leave();
  if (help_ != nullptr) help_->close();
  event->accept();
}

}  // namespace kpr
