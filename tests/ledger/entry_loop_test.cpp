// The income and expense buttons of the main window: the pick-and-edit
// loops with scripted forms, the current row after a save and after a
// delete, and the tables closed afterwards.
#include <QLineEdit>

#include "app/main_window.h"
#include "classify/pick_list_model.h"
#include "ledger/expense_form.h"
#include "ledger/income_form.h"
#include "ledger/pick_expense_form.h"
#include "ledger/pick_income_form.h"
#include "tests/ledger/ledger_fixture.h"
#include "tests/support/main_window_loop.h"

namespace kpr::testing {
namespace {

class EntryLoopTest : public LedgerFixture {
 protected:
  MainWindow& Start() { return loop_.Start(*store_, ui_); }
  void TearDown() override {
    loop_.Close();
    LedgerFixture::TearDown();
  }
  template <typename T>
  void Next(std::function<void(T&)> fn) {
    MainWindowLoop::Next(ui_, std::move(fn));
  }

  MainWindowLoop loop_;
};

TEST_F(EntryLoopTest, SavedRowIsCurrentThenTheLastRowAfterDelete) {
  AddIncome(QDate(2026, 3, 1), 1, 5, "first");
  AddIncome(QDate(2026, 3, 9), 1, 6, "last");
  MainWindow& w = Start();
  int start_row = -1, saved_row = -1, after_delete_row = -1, rows_after_delete = -1;
  Next<PickIncomeForm>([&](PickIncomeForm& p) {
    start_row = p.current_row();
    p.BtnNewClick();
  });
  Next<IncomeForm>([this](IncomeForm& f) {
    f.date_edit()->setText("03/05/26");
    f.amount_edit()->setText("     7.00");
    ui_.Answer(false);
    f.BtnSaveClick();
  });
  Next<PickIncomeForm>([&](PickIncomeForm& p) {
    saved_row = p.current_row();
    p.PickRow();
  });
  Next<IncomeForm>([](IncomeForm& f) { f.BtnDeleteClick(); });
  Next<PickIncomeForm>([&](PickIncomeForm& p) {
    after_delete_row = p.current_row();
    rows_after_delete = p.model()->rowCount();
    p.BtnExitClick();
  });
  w.IncomeClicked();
  EXPECT_FALSE(ui_.modals_left());
  EXPECT_EQ(start_row, 1);
  EXPECT_EQ(saved_row, 1);
  EXPECT_EQ(rows_after_delete, 2);
  EXPECT_EQ(after_delete_row, 1);
  EXPECT_TRUE(store_->engine().tables().empty());
  EXPECT_TRUE(store_->PackPending);
  for (uint32_t r = 1; r <= 3; ++r) {
    const IncomeRecord rec = Read(r);
    EXPECT_EQ(Deleted(r), r == 3) << r;
    if (r == 3) {
      EXPECT_DOUBLE_EQ(rec.IncAmt, 7.0);
    }
  }
  ExpectConsistent();
}

TEST_F(EntryLoopTest, ExpenseLoopAddsEditsAndDeletes) {
  AddExpense(QDate(2026, 3, 1), 4, 1, 5, "first");
  MainWindow& w = Start();
  int saved_row = -1, rows = -1, after_delete_row = -1;
  Next<PickExpenseForm>([](PickExpenseForm& p) { p.BtnNewClick(); });
  Next<ExpenseForm>([this](ExpenseForm& f) {
    f.check_edit()->setText("501");
    f.date_edit()->setText("03/09/26");
    f.amount_edit()->setText("    99.95");
    ui_.Answer(false);
    f.BtnSaveClick();
  });
  Next<PickExpenseForm>([&](PickExpenseForm& p) {
    saved_row = p.current_row();
    rows = p.model()->rowCount();
    p.set_current_row(0);
    p.PickRow();
  });
  Next<ExpenseForm>([](ExpenseForm& f) { f.BtnDeleteClick(); });
  Next<PickExpenseForm>([&](PickExpenseForm& p) {
    after_delete_row = p.current_row();
    p.BtnExitClick();
  });
  w.ExpenseClicked();
  EXPECT_FALSE(ui_.modals_left());
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(saved_row, 1);
  EXPECT_EQ(after_delete_row, 0);
  EXPECT_TRUE(store_->engine().tables().empty());
  EXPECT_TRUE(store_->PackPending);
  EXPECT_TRUE(ExpenseDeleted(1));
  EXPECT_FALSE(ExpenseDeleted(2));
  EXPECT_EQ(ReadExpense(2).CheckNo, 501);
  EXPECT_DOUBLE_EQ(ReadExpense(2).Amount, 99.95);
  ExpectConsistent();
}

}  // namespace
}  // namespace kpr::testing
