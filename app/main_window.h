// The main window: four pages of picture buttons from which every operation
// starts, the Default Folder box, the report range, the program settings and
// the progress box. Each operation opens the tables it needs, runs, and
// closes them all again; no table stays open while the window is idle.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPrinter>
#include <memory>

#include "app/app_state.h"
#include "app/instance_lock.h"
#include "store/data_store.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QMenu;
class QTabWidget;
class QToolButton;

namespace kpr {

class AboutBox;
class AccountForm;
class FolderForm;
class ExpenseForm;
class IncomeForm;
class PickExpenseForm;
class PickIncomeForm;
class HelpViewer;
class PickAccountForm;
class PickFolderForm;
class ProgressBox;
class SetupPage;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kSplashMilliseconds = 1728;

  explicit MainWindow(DataStore& store, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs before the window is first shown. False when the program must end
  // (the tables are missing, or another copy uses the directory); the
  // message has been shown then.
  bool StartUp();
  void set_splash_milliseconds(int ms) { splash_ms_ = ms; }

  AppState& state() { return state_; }
  DataStore& store() { return store_; }
  ProgressBox* progress_box() { return progress_; }
  SetupPage* setup_page() { return setup_; }
  AboutBox* about_box() { return about_; }
  HelpViewer* help_viewer();
  QPrinter* printer() { return &printer_; }

  // The Default Folder box.
  void RefillFolderBoxIfNeeded();
  void FolderChosen(int index);
  // The report range edits: text changed, and leaving the field.
  void RangeTextChanged(QLineEdit* edit);
  bool RangeLeft(QLineEdit* edit);
  // Sets ReportFrom and ReportThrough to the current month.
  void SetDefaultReportRange();

  // The classification loops: folders, expense accounts, income accounts.
  void FoldersClicked();
  void IncomeClicked();
  void ExpenseClicked();
  void AccountsEClicked() { AccountsClicked("E"); }
  void AccountsIClicked() { AccountsClicked("I"); }
  // The chart of accounts report of the income chart (ACCI) or the expense
  // chart (ACC).
  void ChartOfAccountsClicked(bool income_chart);
  PickFolderForm* pick_folder_form() const { return pick_fol_; }
  FolderForm* folder_form() const { return folder_form_; }
  PickAccountForm* pick_account_form() const { return pick_acc_; }
  AccountForm* account_form() const { return account_form_; }
  PickIncomeForm* pick_income_form() const { return pick_inc_; }
  IncomeForm* income_form() const { return income_form_; }
  PickExpenseForm* pick_expense_form() const { return pick_exp_; }
  ExpenseForm* expense_form() const { return expense_form_; }

  // Operations of the File Maintenance page.
  void ReIndexClicked();
  void PackClicked();
  void EraseDataClicked();
  void ShowAbout();
  void ShowHelp(const QString& topic);

  // Leaving the program: the exit test, and the pack when records were
  // deleted. Called when the window closes.
  void Leave();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ButtonSpec {
    const char* name;
    const char* icon;
    const char* label;
    const char* hint;
    void (MainWindow::*handler)();  // nullptr: not built yet, disabled
  };
  void AddPictureButtons(QWidget* page, QGridLayout* grid, std::initializer_list<ButtonSpec> buttons);
  QWidget* BuildIncomeExpensePage();
  QWidget* BuildReportPage();
  QWidget* BuildMaintenancePage();
  QWidget* PageWithHelp(QWidget* content, const QString& topic, const QString& name);
  void BuildMenus();
  void ShowReportMenu(QMenu* menu);
  void BuildClassificationForms();
  void AccountsClicked(const QString& kind);
  // Runs an operation and closes every table afterwards, whatever happens.
  template <typename Fn>
  void RunOperation(Fn&& fn);

  DataStore& store_;
  AppState state_;
  QPrinter printer_;
  InstanceLock instance_lock_;
  QTabWidget* pages_ = nullptr;
  ProgressBox* progress_ = nullptr;
  SetupPage* setup_ = nullptr;
  AboutBox* about_ = nullptr;
  HelpViewer* help_ = nullptr;
  PickFolderForm* pick_fol_ = nullptr;
  FolderForm* folder_form_ = nullptr;
  PickAccountForm* pick_acc_ = nullptr;
  PickIncomeForm* pick_inc_ = nullptr;
  IncomeForm* income_form_ = nullptr;
  PickExpenseForm* pick_exp_ = nullptr;
  ExpenseForm* expense_form_ = nullptr;
  AccountForm* account_form_ = nullptr;
  QComboBox* folder_box_ = nullptr;
  QLineEdit* range_from_ = nullptr;
  QLineEdit* range_through_ = nullptr;
  QMenu* expense_menu_ = nullptr;
  QMenu* income_menu_ = nullptr;
  QMenu* profit_menu_ = nullptr;
  int splash_ms_ = kSplashMilliseconds;
  bool leaving_field_ = false;
  bool left_ = false;
};

}  // namespace kpr
