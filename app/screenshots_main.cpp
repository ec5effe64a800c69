// kpr_screenshots: starts the main window on a data directory as the
// program does, and writes a picture of each page, the about box, the
// folder and account forms and help.
// usage: kpr_screenshots DATADIR OUTDIR
#include <QDir>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "app/about_box.h"
#include "app/dialog_ui_services.h"
#include "app/help_viewer.h"
#include "app/kpr_application.h"
#include "app/main_window.h"
#include "ledger/expense_form.h"
#include "ledger/income_form.h"
#include "ledger/pick_expense_form.h"
#include "ledger/pick_income_form.h"
#include "reports/headless_report.h"
#include "reports/t_report_f.h"
#include "classify/account_form.h"
#include "classify/folder_form.h"
#include "classify/pick_account_form.h"
#include "classify/pick_folder_form.h"

int main(int argc, char** argv) {
  Q_INIT_RESOURCE(resources);
  kpr::KprApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: kpr_screenshots DATADIR OUTDIR\n");
    return 1;
  }
  const QString out = QDir(argv[2]).absolutePath();
  QDir().mkpath(out);
  kpr::DialogUiServices ui;
  app.set_ui(&ui);
  kpr::DataStore store(argv[1], &ui);
  kpr::MainWindow window(store);
  ui.set_parent(&window);
  ui.set_progress(window.progress_box());
  window.set_splash_milliseconds(0);
  if (!window.StartUp()) return 1;
  window.show();
  auto* pages = window.findChild<QTabWidget*>("PageControl1");
  const char* names[] = {"income-expenses", "reports", "setup", "maintenance"};
  int failures = 0;
  QTimer::singleShot(500, [&] {
    for (int i = 0; i < pages->count(); ++i) {
      pages->setCurrentIndex(i);
      QApplication::processEvents();
      const QString file = out + "/" + names[i] + ".png";
      if (!window.grab().save(file)) ++failures;
      std::printf("%s\n", file.toUtf8().constData());
    }
    window.about_box()->show();
    QApplication::processEvents();
    const QString about = out + "/about.png";
    if (!window.about_box()->grab().save(about)) ++failures;
    std::printf("%s\n", about.toUtf8().constData());
    window.about_box()->hide();
    // The classification forms, on the first folder and account.
    auto shoot = [&](QDialog* form, const char* name) {
      form->show();
      QApplication::processEvents();
      const QString file = out + "/" + name + ".png";
      if (!form->grab().save(file)) ++failures;
      std::printf("%s\n", file.toUtf8().constData());
      form->hide();
    };
    store.OpenFolders();
    window.state().SelFolder = static_cast<int>(store.folder->RecNo());
    shoot(window.pick_folder_form(), "pick-folder");
    shoot(window.folder_form(), "folder-form");
    store.CloseAll();
    window.state().AccountKind = "E";
    store.OpenExpenseAccounts();
    window.state().SelAccount = static_cast<int>(store.acc->RecNo());
    shoot(window.pick_account_form(), "pick-account");
    shoot(window.account_form(), "account-form");
    store.CloseAll();
    store.OpenIncomes();
    store.OpenFolders();
    store.OpenIncomeAccounts();
    window.state().SelIncome = static_cast<int>(store.inc5->RecNo());
    shoot(window.pick_income_form(), "pick-income");
    shoot(window.income_form(), "income-form");
    store.CloseAll();
    store.OpenExpenses();
    store.OpenFolders();
    store.OpenExpenseAccounts();
    window.state().SelExpense = static_cast<int>(store.exp5->RecNo());
    shoot(window.pick_expense_form(), "pick-expense");
    shoot(window.expense_form(), "expense-form");
    store.CloseAll();
    // The report viewer on the expense chart of accounts.
    auto doc = kpr::BuildChartOfAccountsDocument(store, false, window.printer(),
                                                 window.state().ReportFont);
    kpr::TReportF viewer(*doc, window.state().ReportFont, window.printer(), ui, &window);
    viewer.resize(900, 640);
    viewer.show();
    QApplication::processEvents();
    const QString report = out + "/report-viewer.png";
    if (!viewer.grab().save(report)) ++failures;
    std::printf("%s\n", report.toUtf8().constData());
    viewer.hide();
    window.ShowHelp("500");
    QApplication::processEvents();
    const QString help = out + "/help.png";
    if (!window.help_viewer()->grab().save(help)) ++failures;
    std::printf("%s\n", help.toUtf8().constData());
    window.close();
  });
  app.exec();
  return failures == 0 ? 0 : 1;
}
