// The expense pick list: date then account order, its columns, the
// Default Folder and Archive filter, and the current row.
#include <QPushButton>
#include <QTableView>

#include "classify/pick_list_model.h"
#include "ledger/pick_expense_form.h"
#include "tests/ledger/ledger_fixture.h"

namespace kpr::testing {
namespace {

class PickExpenseTest : public LedgerFixture {
 protected:
  static std::vector<int> RecNos(PickExpenseForm& form) {
    std::vector<int> out;
    for (int i = 0; i < form.model()->rowCount(); ++i) {
      out.push_back(form.model()->row(i).last().toInt());
    }
    return out;
  }
  void SetUp() override {
    LedgerFixture::SetUp();
    // Two of one date, the higher account written first.
    a_ = AddExpense(QDate(2026, 3, 5), 9, 2, 1234.5, "Nine", 123);
    b_ = AddExpense(QDate(2026, 3, 5), 4, 1, -12, "Four");
    c_ = AddExpense(QDate(2026, 3, 1), 9, 2, 3, "Archived", 0, true);
    d_ = AddExpense(QDate(2026, 3, 2), 9, 2, 7, "Early");
    store_->OpenExpenses();
  }
  uint32_t a_ = 0, b_ = 0, c_ = 0, d_ = 0;
};

TEST_F(PickExpenseTest, DateThenAccountOrderWithoutArchivedOnTheLastRow) {
  int selection = 0, folder = -1;
  PickExpenseForm form(*store_, selection, folder);
  EXPECT_EQ(form.objectName(), "TPickExp");
  EXPECT_EQ(form.windowTitle(), "Select Expense");
  form.FormShow();
  EXPECT_EQ(RecNos(form), (std::vector<int>{int(d_), int(b_), int(a_)}));
  EXPECT_EQ(form.current_row(), 2);
  EXPECT_EQ(form.model()->row(2), (QStringList{"03/05/26", "9", "2", "123", "    1,234.50",
                                               form.model()->row(2).at(5), QString::number(a_)}));
  EXPECT_EQ(form.model()->row(2).at(5).trimmed(), "Nine");
  EXPECT_EQ(form.model()->row(1).at(3), "0");
  for (const char* name : {"BtnSelect", "BtnNew", "BtnExit"}) {
    EXPECT_NE(form.findChild<QPushButton*>(name), nullptr) << name;
  }
}

TEST_F(PickExpenseTest, DefaultFolderFiltersAndTheSelectedRecordIsCurrent) {
  int selection = static_cast<int>(d_), folder = 2;
  PickExpenseForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(RecNos(form), (std::vector<int>{int(d_), int(a_)}));
  EXPECT_EQ(form.current_row(), 0);
  form.set_current_row(1);
  form.findChild<QPushButton*>("BtnSelect")->click();
  EXPECT_EQ(selection, int(a_));
  folder = 5;
  form.FormShow();
  EXPECT_EQ(form.model()->rowCount(), 0);
  EXPECT_FALSE(form.findChild<QPushButton*>("BtnSelect")->isEnabled());
  form.findChild<QPushButton*>("BtnNew")->click();
  EXPECT_EQ(selection, 0);
}

}  // namespace
}  // namespace kpr::testing
