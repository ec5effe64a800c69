// The main window's construction: pages, menus and the wiring of controls.
#include "app/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "classify/account_form.h"
#include "classify/folder_form.h"
#include "classify/pick_account_form.h"
#include "classify/pick_folder_form.h"
#include "ledger/expense_form.h"
#include "ledger/income_form.h"
#include "ledger/pick_expense_form.h"
#include "ledger/pick_income_form.h"
#include "app/guarded.h"
#include "app/help_viewer.h"
#include "app/picture_button.h"
#include "app/progress_box.h"
#include "app/setup_page.h"
#include "store/locale_formats.h"

namespace kpr {
namespace {

// The date mask: two-digit month, day and year in the locale's order.
QString DateMask() {
  QString mask;
  for (QChar c : LocaleFormats::ShortDateFormat()) {
    mask += c.isLetter() ? QChar('9') : c;
  }
  return mask + ";_";
}

QWidget* Row(QWidget* parent, std::initializer_list<QWidget*> widgets) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : widgets) layout->addWidget(w);
  layout->addStretch(1);
  return row;
}

}  // namespace

MainWindow::MainWindow(DataStore& store, QWidget* parent)
    : QMainWindow(parent), store_(store), printer_(QPrinter::HighResolution) {
  setObjectName("TFormMain");
  setWindowTitle("TARN Ledgerline 1.06");
  auto* central = new QWidget(this);
  central->setObjectName("MainBackground");
  // Navy around the pages; the pages themselves keep the desktop's colours.
  central->setStyleSheet("QWidget#MainBackground { background-color: #000080; }");

  pages_ = new QTabWidget(central);
  pages_->setObjectName("PageControl1");
  pages_->setAutoFillBackground(true);
  setup_ = new SetupPage(store_, state_, &printer_);
  pages_->addTab(PageWithHelp(BuildIncomeExpensePage(), "500", "IncomeExpensePage"),
                 "Income and Expenses");
  pages_->addTab(PageWithHelp(BuildReportPage(), "600", "ReportPage"), "Report Generation");
  setup_->setObjectName("SetupPage");
  pages_->addTab(setup_, "Program Setup");
  pages_->addTab(PageWithHelp(BuildMaintenancePage(), "400", "MaintenancePage"),
                 "File Maintenance");
  connect(setup_, &SetupPage::HelpRequested, this, &MainWindow::ShowHelp);

  progress_ = new ProgressBox(central);
  progress_->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(pages_, 1);
  layout->addWidget(progress_);
  setCentralWidget(central);
  BuildMenus();

  about_ = new AboutBox(this);
  BuildClassificationForms();
  auto* help_key = new QShortcut(QKeySequence::HelpContents, this);
  connect(help_key, &QShortcut::activated, this, [this] {
    static const char* kTopics[] = {"500", "600", "300", "400"};
    ShowHelp(kTopics[pages_->currentIndex()]);
  });
  resize(660, 420);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::PageWithHelp(QWidget* content, const QString& topic, const QString& name) {
  auto* page = new QWidget;
  page->setObjectName(name);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(content, 1);
  auto* help = new QPushButton("Help", page);
  help->setObjectName("BtnHelp" + topic);
  layout->addWidget(help, 0, Qt::AlignRight);
  connect(help, &QPushButton::clicked, this, [this, topic] { ShowHelp(topic); });
  return page;
}

void MainWindow::AddPictureButtons(QWidget* page, QGridLayout* grid,
                                   std::initializer_list<ButtonSpec> buttons) {
  int i = 0;
  for (const ButtonSpec& b : buttons) {
    QToolButton* button = MakePictureButton(page, b.name, b.icon, b.label, b.hint);
    if (b.handler == nullptr) {
      MarkNotAvailable(button);
    } else {
      connect(button, &QToolButton::clicked, this, b.handler);
    }
    grid->addWidget(button, i / 4, i % 4);
    ++i;
  }
}

QWidget* MainWindow::BuildIncomeExpensePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  // The record forms come next.
  AddPictureButtons(
      page, grid,
      {{"BtnIncome", "income", "Income", "Add, Edit or Delete Income", &MainWindow::IncomeClicked},
       {"BtnAccountI", "account_income", "Income\nAccounts",
        "Setup Income Accounts (classifications)", &MainWindow::AccountsIClicked},
       {"BtnFolders", "folders", "Folders", "Setup Folders (Income/Expense Groups)",
        &MainWindow::FoldersClicked},
       {"BtnAccountE", "account_expense", "Expense\nAccounts",
        "Setup Expense Accounts (Classifications)", &MainWindow::AccountsEClicked},
       {"BtnExpense", "expense", "Expenses", "Add, Edit or Delete Expenses",
        &MainWindow::ExpenseClicked},
       {"BtnImport", "import", "Import\nPayments", "Import Income Data from TARN VANTO program.",
        nullptr},
       {"BtnRateChange", "rate_change", "Rate\nChange", "Adjust rate based expense amounts.",
        nullptr}});
  folder_box_ = new QComboBox(page);
  folder_box_->setObjectName("FolderCBox");
  folder_box_->setToolTip("Change to limit view to a single folder");
  folder_box_->setMinimumWidth(260);
  folder_box_->installEventFilter(this);
  connect(folder_box_, QOverload<int>::of(&QComboBox::activated), this, &MainWindow::FolderChosen);
  auto* label = new QLabel("Default Folder", page);
  auto* box = new QWidget(page);
  auto* box_layout = new QVBoxLayout(box);
  box_layout->setContentsMargins(0, 0, 0, 0);
  box_layout->addWidget(label);
  box_layout->addWidget(folder_box_);
  grid->addWidget(box, 1, 3, 1, 1, Qt::AlignBottom);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* MainWindow::BuildReportPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  QToolButton* exp = MakePictureButton(page, "BtnExpRpt", "expense_report", "Expense\nReports",
                                       "Expense reports");
  QToolButton* prof = MakePictureButton(page, "BtnProfRpt", "profit_report", "Profit", "Profit reports");
  QToolButton* gl = MakePictureButton(page, "BtnGLRpt", "general_ledger", "General\nLedger",
                                      "General ledger");
  QToolButton* inc = MakePictureButton(page, "BtnIncRpt", "income_report", "Income\nReports",
                                       "Income reports");
  MarkNotAvailable(gl);
  grid->addWidget(exp, 0, 0);
  grid->addWidget(prof, 0, 1);
  grid->addWidget(gl, 0, 2);
  grid->addWidget(inc, 0, 3);
  connect(exp, &QToolButton::clicked, this, [this] { ShowReportMenu(expense_menu_); });
  connect(inc, &QToolButton::clicked, this, [this] { ShowReportMenu(income_menu_); });
  connect(prof, &QToolButton::clicked, this, [this] { ShowReportMenu(profit_menu_); });

  range_from_ = new QLineEdit(page);
  range_from_->setObjectName("MaskEdit1");
  range_through_ = new QLineEdit(page);
  range_through_->setObjectName("MaskEdit2");
  for (QLineEdit* e : {range_from_, range_through_}) {
    e->setInputMask(DateMask());
    e->setMaximumWidth(96);
    e->installEventFilter(this);
    connect(e, &QLineEdit::textChanged, this, [this, e] { RangeTextChanged(e); });
  }
  grid->addWidget(Row(page, {new QLabel("Report From:", page), range_from_,
                             new QLabel("Through:", page), range_through_}),
                  1, 0, 1, 4);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* MainWindow::BuildMaintenancePage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  AddPictureButtons(
      page, grid,
      {{"BtnBackup", "backup", "Backup", "Backup Data Files", nullptr},
       {"BtnRestore", "restore", "Restore", "Restore Data from Backup", nullptr},
       {"BtnArchive", "archive", "Archive", "Archive Old Data Records", nullptr},
       {"BtnDeArchive", "dearchive", "De-Archive", "Restore data records from Archive", nullptr},
       {"BtnReIndex", "reindex", "Rebuild\nIndexes", "Rebuild Index Files",
        &MainWindow::ReIndexClicked},
       {"BtnPack", "pack", "Pack", "Physically remove deleted records.", &MainWindow::PackClicked},
       {"BtnEraseData", "erase", "Erase Data", "Use to clear sample data.",
        &MainWindow::EraseDataClicked},
       {"BtnUpgrade", "upgrade", "Upgrade", "Import Version 3 or 4 data.", nullptr}});
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(2, 1);
  return page;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Exit", this, &QWidget::close);
  QMenu* help = menuBar()->addMenu("&Help");
  help->addAction("&About", this, &MainWindow::ShowAbout);
  help->addSeparator();
  help->addAction("&Help", this, [this] { ShowHelp("contents"); });

  // The report menus pop up from their buttons; reports not built yet are
  // disabled.
  expense_menu_ = new QMenu(this);
  income_menu_ = new QMenu(this);
  profit_menu_ = new QMenu(this);
  for (const char* item : {"Expense &Summary", "Expense &Detail", "&Account Detail"}) {
    expense_menu_->addAction(item)->setEnabled(false);
  }
  for (const char* item : {"Income &Summary", "Income &Detail", "&Account Detail"}) {
    income_menu_->addAction(item)->setEnabled(false);
  }
  for (const char* item : {"&Weekly Profit", "&Monthly Profit"}) {
    profit_menu_->addAction(item)->setEnabled(false);
  }
  for (QMenu* m : {expense_menu_, income_menu_, profit_menu_}) {
    m->setToolTipsVisible(true);
    for (QAction* a : m->actions()) a->setToolTip("Not available in this version yet.");
  }
  expense_menu_->addAction("&Chart of Accounts", this, [this] { ChartOfAccountsClicked(false); });
  income_menu_->addAction("&Chart of Accounts", this, [this] { ChartOfAccountsClicked(true); });
}

void MainWindow::BuildClassificationForms() {
  pick_fol_ = new PickFolderForm(store_, state_.SelFolder, this);
  folder_form_ = new FolderForm(store_, state_.SelFolder, this);
  pick_acc_ = new PickAccountForm(store_, state_.SelAccount, state_.AccountKind, this);
  account_form_ = new AccountForm(store_, state_.SelAccount, state_.AccountKind, this);
  for (DefinitionForm* form : std::initializer_list<DefinitionForm*>{folder_form_, account_form_}) {
    connect(form, &DefinitionForm::HelpRequested, this, &MainWindow::ShowHelp);
  }
  pick_inc_ = new PickIncomeForm(store_, state_.SelIncome, state_.DefaultFolder, this);
  income_form_ = new IncomeForm(store_, state_.SelIncome, state_.DefaultFolder, this);
  pick_exp_ = new PickExpenseForm(store_, state_.SelExpense, state_.DefaultFolder, this);
  expense_form_ = new ExpenseForm(store_, state_.SelExpense, state_.DefaultFolder, this);
  for (EntryForm* form : std::initializer_list<EntryForm*>{income_form_, expense_form_}) {
    connect(form, &EntryForm::HelpRequested, this, &MainWindow::ShowHelp);
  }
}

void MainWindow::ShowReportMenu(QMenu* menu) { menu->popup(QCursor::pos()); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == folder_box_ && (event->type() == QEvent::KeyPress ||
                                 event->type() == QEvent::ShortcutOverride)) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Typing changes nothing; only the list (opened with the mouse or the
    // arrow keys with Alt) chooses a folder.
    if (!(key->modifiers() & Qt::AltModifier)) return true;
  }
  if ((watched == range_from_ || watched == range_through_) && event->type() == QEvent::FocusOut &&
      !leaving_field_) {
    leaving_field_ = true;
    auto* edit = static_cast<QLineEdit*>(watched);
    const bool ok = RangeLeft(edit);
    leaving_field_ = false;
    if (!ok) QMetaObject::invokeMethod(edit, [edit] { edit->setFocus(); }, Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace kpr
