// The income pick list: order, the Default Folder and Archive filter, the
// current row, and the selection code each way of leaving sets.
#include <QPushButton>
#include <QTableView>

#include "classify/pick_list_model.h"
#include "ledger/pick_income_form.h"
#include "tests/ledger/ledger_fixture.h"

namespace kpr::testing {
namespace {

class PickIncomeTest : public LedgerFixture {
 protected:
  // Record numbers of the rows, in order.
  static std::vector<int> RecNos(PickIncomeForm& form) {
    std::vector<int> out;
    for (int i = 0; i < form.model()->rowCount(); ++i) out.push_back(form.model()->row(i).last().toInt());
    return out;
  }
  void SetUp() override {
    LedgerFixture::SetUp();
    a_ = AddIncome(QDate(2026, 3, 9), 2, 1234.5, "late");
    b_ = AddIncome(QDate(2026, 3, 1), 1, -45, "early");
    c_ = AddIncome(QDate(2026, 3, 5), 2, 10, "archived", true);
    d_ = AddIncome(QDate(2026, 3, 3), 2, 7, "middle");
    store_->OpenIncomes();
  }
  uint32_t a_ = 0, b_ = 0, c_ = 0, d_ = 0;
};

TEST_F(PickIncomeTest, AllFoldersInDateOrderWithoutArchivedOnTheLastRow) {
  int selection = 0, folder = -1;
  PickIncomeForm form(*store_, selection, folder);
  EXPECT_EQ(form.objectName(), "TPickInc");
  EXPECT_EQ(form.windowTitle(), "Select Item");
  form.FormShow();
  EXPECT_EQ(RecNos(form), (std::vector<int>{int(b_), int(d_), int(a_)}));
  EXPECT_EQ(form.current_row(), 2);
  const QStringList row = form.model()->row(2);
  EXPECT_EQ(row.at(0), "03/09/26");
  EXPECT_EQ(row.at(1), "2");
  EXPECT_EQ(row.at(2), "    1,234.50");
  EXPECT_EQ(row.at(3).trimmed(), "late");
}

TEST_F(PickIncomeTest, DefaultFolderFiltersAndTheSelectedRecordIsCurrent) {
  int selection = static_cast<int>(d_), folder = 2;
  PickIncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(RecNos(form), (std::vector<int>{int(d_), int(a_)}));
  EXPECT_EQ(form.current_row(), 0);
  form.findChild<QPushButton*>("Button1")->click();
  EXPECT_EQ(selection, int(d_));
}

TEST_F(PickIncomeTest, SelectedRecordNotListedGivesTheFirstRow) {
  int selection = static_cast<int>(b_), folder = 2;
  PickIncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(form.current_row(), 0);
}

TEST_F(PickIncomeTest, EmptySelectionDisablesSelectButNewAndExitWork) {
  int selection = 0, folder = 5;
  PickIncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(form.model()->rowCount(), 0);
  EXPECT_FALSE(form.findChild<QPushButton*>("Button1")->isEnabled());
  EXPECT_FALSE(form.grid()->isEnabled());
  form.findChild<QPushButton*>("Button2")->click();
  EXPECT_EQ(selection, 0);
  form.findChild<QPushButton*>("Button3")->click();
  EXPECT_EQ(selection, -1);
}

}  // namespace
}  // namespace kpr::testing
