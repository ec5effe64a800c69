#include "bench/ledger_steps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "classify/pick_list_model.h"
#include "ledger/expense_form.h"
#include "ledger/income_form.h"
#include "ledger/pick_expense_form.h"
#include "ledger/pick_income_form.h"
#include "store/data_store.h"
#include "tools/console_ui.h"

namespace kpr::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Answers every question No, silently; a warning or an error box means the
// step went wrong.
class QuietUi final : public ConsoleUi {
 public:
  bool Message(Kind kind, Buttons, const QString& text) override {
    if (kind != Kind::kInformation) throw std::runtime_error(text.toStdString());
    return false;
  }
};

// The offscreen platform's notes (no window manager, no runtime directory)
// say nothing about the step; only critical messages are shown.
void CriticalOnly(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

// What every step sets up outside its timing: the application object and a
// data store whose fatal end becomes an exception.
struct Session {
  explicit Session(const std::string& dir) : store(dir, &ui) {
    store.engine().set_exit_handler([](const std::string& m) { throw std::runtime_error(m); });
  }
  int argc = 1;
  char name[17] = "kpr_ledger_bench";
  char* argv[2] = {name, nullptr};
  // Installed before the application object, whose start already speaks.
  QtMessageHandler previous = qInstallMessageHandler(CriticalOnly);
  QApplication app{argc, argv};
  QuietUi ui;
  DataStore store;
};

void OpenForIncome(DataStore& s) {
  s.OpenIncomes();
  s.OpenFolders();
  s.OpenIncomeAccounts();
}

void OpenForExpense(DataStore& s) {
  s.OpenExpenses();
  s.OpenFolders();
  s.OpenExpenseAccounts();
}

// Shows the list and paints it, as the user first sees it.
void ShowPainted(PickListForm& form) {
  form.show();
  QApplication::processEvents();
  form.grid()->viewport()->repaint();
}

template <typename Form>
StepOutcome OpenList(const std::string& dir, int default_folder,
                     void (*open)(DataStore&)) {
  Session s(dir);
  int selection = 0;
  Form form(s.store, selection, default_folder);
  const Clock::time_point start = Clock::now();
  open(s.store);
  ShowPainted(form);
  StepOutcome out;
  out.seconds = Since(start);
  out.rows = static_cast<uint64_t>(form.model()->rowCount());
  form.hide();
  s.store.CloseAll();
  return out;
}

}  // namespace

StepOutcome LedgerSteps::OpenIncomeList(int default_folder) const {
  return OpenList<PickIncomeForm>(dir_, default_folder, OpenForIncome);
}

StepOutcome LedgerSteps::OpenExpenseList(int default_folder) const {
  return OpenList<PickExpenseForm>(dir_, default_folder, OpenForExpense);
}

StepOutcome LedgerSteps::PageThroughExpenses(int pages) const {
  Session s(dir_);
  int selection = 0, folder = -1;
  PickExpenseForm form(s.store, selection, folder);
  OpenForExpense(s.store);
  ShowPainted(form);
  form.set_current_row(0);
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < pages; ++i) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(form.grid(), &key);
    form.grid()->viewport()->repaint();
  }
  StepOutcome out;
  out.seconds = Since(start) / pages;
  out.rows = static_cast<uint64_t>(form.current_row());
  if (form.current_row() <= 0) throw std::runtime_error("Page Down did not move the list");
  form.hide();
  s.store.CloseAll();
  return out;
}

StepOutcome LedgerSteps::SaveNewIncomes(int count) const {
  Session s(dir_);
  int selection = 0, folder = -1;
  IncomeForm form(s.store, selection, folder);
  OpenForIncome(s.store);
  double total = 0;
  for (int i = 0; i < count; ++i) {
    selection = 0;
    form.FormShow();
    form.date_edit()->setText("03/04/26");
    form.amount_edit()->setText(QString("%1.25").arg(i % 1000, 6));
    form.description_edit()->setText(QString("bench %1").arg(i));
    const Clock::time_point start = Clock::now();
    form.BtnSaveClick();
    total += Since(start);
    if (selection <= 0) throw std::runtime_error("a new income record was not saved");
  }
  s.store.CloseAll();
  StepOutcome out;
  out.seconds = total / count;
  out.rows = static_cast<uint64_t>(count);
  return out;
}

StepOutcome LedgerSteps::SaveEditedExpenses(int count) const {
  Session s(dir_);
  int selection = 0, folder = -1;
  ExpenseForm form(s.store, selection, folder);
  OpenForExpense(s.store);
  const uint32_t records = s.store.exp5->RecCount();
  double total = 0;
  for (int i = 0; i < count; ++i) {
    // A live record near each of `count` evenly spread places.
    uint32_t recno = static_cast<uint32_t>(1 + (uint64_t{records} * i) / count);
    for (;; ++recno) {
      if (recno > records) throw std::runtime_error("no live expense record to edit");
      s.store.exp5->Go(recno);
      if (!s.store.exp5->Deleted()) break;
    }
    selection = static_cast<int>(recno);
    form.FormShow();
    form.date_edit()->setText(QString("%1/15/24").arg(1 + i % 12, 2, 10, QChar('0')));
    form.amount_edit()->setText("    42.50");
    const Clock::time_point start = Clock::now();
    form.BtnSaveClick();
    total += Since(start);
    if (form.result() != QDialog::Accepted || selection != static_cast<int>(recno)) {
      throw std::runtime_error("an expense record was not saved");
    }
    form.setResult(0);
  }
  s.store.CloseAll();
  StepOutcome out;
  out.seconds = total / count;
  out.rows = static_cast<uint64_t>(count);
  return out;
}

}  // namespace kpr::bench
