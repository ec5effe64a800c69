// The folder and account pick lists: rows, hidden record numbers, the
// current row, and the selection code each way of leaving sets.
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "classify/pick_account_form.h"
#include "classify/pick_folder_form.h"
#include "classify/pick_list_model.h"
#include "tests/classify/classify_fixture.h"

namespace kpr::testing {
namespace {

class PickListTest : public ClassifyFixture {
 protected:
  // The cells as shown, descriptions without the blanks their field keeps.
  static std::vector<QStringList> Rows(PickListForm& form) {
    std::vector<QStringList> out;
    for (int i = 0; i < form.model()->rowCount(); ++i) {
      QStringList row = form.model()->row(i);
      for (QString& cell : row) cell = cell.trimmed();
      out.push_back(row);
    }
    return out;
  }
  static QStringList Headings(PickListForm& form) {
    QStringList out;
    for (int i = 0; i < form.model()->columnCount(); ++i) {
      out << form.model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    return out;
  }
};

TEST_F(PickListTest, EmptyFolderListDisablesSelectButKeepsNewAndExit) {
  store_->OpenFolders();
  int selection = 0;
  PickFolderForm form(*store_, selection);
  form.FormShow();
  EXPECT_EQ(form.model()->rowCount(), 0);
  EXPECT_FALSE(form.findChild<QPushButton*>("BtnSelect")->isEnabled());
  EXPECT_FALSE(form.grid()->isEnabled());
  form.PickRow();
  EXPECT_EQ(selection, 0);
  EXPECT_NE(form.result(), QDialog::Accepted);
  form.BtnNewClick();
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  form.BtnExitClick();
  EXPECT_EQ(selection, -1);
}

TEST_F(PickListTest, FoldersListedByNumberWithoutDeletedOnesAndRecordNumbersHidden) {
  AddFolders({5, 1, 3});
  store_->OpenFolders();
  store_->folder->Go(3);
  ASSERT_TRUE(store_->folder->Delete().ok());
  int selection = 0;
  PickFolderForm form(*store_, selection);
  form.FormShow();
  EXPECT_EQ(form.objectName(), "TPickFol");
  EXPECT_EQ(form.windowTitle(), "PickFol");
  EXPECT_EQ(Headings(form), (QStringList{"Number", "Description", "RecNo"}));
  EXPECT_EQ(Rows(form), (std::vector<QStringList>{{"1", "Folder 1", "2"}, {"5", "Folder 5", "1"}}));
  EXPECT_TRUE(form.grid()->isColumnHidden(2));
  EXPECT_EQ(form.grid()->objectName(), "StringGrid1");
  EXPECT_EQ(form.current_row(), 0);
}

TEST_F(PickListTest, TheRowOfTheSelectionCodeIsCurrentAndChoosingItGivesItsRecordNumber) {
  AddAccounts(true, {2, 4, 6});
  store_->OpenIncomeAccounts();
  int selection = 2;  // record of account 4
  const QString kind = "I";
  PickAccountForm form(*store_, selection, kind);
  form.FormShow();
  EXPECT_EQ(form.objectName(), "TPickAcc");
  EXPECT_EQ(form.windowTitle(), "Select Account");
  EXPECT_EQ(Headings(form), (QStringList{"Number", "Description", "Taxable", "RecNo"}));
  EXPECT_EQ(Rows(form)[0], (QStringList{"2", "Account 2", "Yes", "1"}));
  EXPECT_EQ(Rows(form)[1], (QStringList{"4", "Account 4", "Yes", "2"}));
  EXPECT_TRUE(form.grid()->isColumnHidden(3));
  EXPECT_EQ(form.current_row(), 1);
  form.set_current_row(2);
  form.PickRow();
  EXPECT_EQ(selection, 3);
}

TEST_F(PickListTest, ExpenseChartHeadsItsFlagColumnDeductAndShowsNo) {
  AddAccounts(false, {1});
  store_->OpenExpenseAccounts();
  int selection = 0;
  const QString kind = "E";
  PickAccountForm form(*store_, selection, kind);
  form.FormShow();
  EXPECT_EQ(Headings(form)[2], "Deduct");
  EXPECT_EQ(Rows(form), (std::vector<QStringList>{{"1", "Account 1", "No", "1"}}));
}

TEST_F(PickListTest, TheCloseBoxLeavesTheSelectionCode) {
  AddFolders({1, 2});
  store_->OpenFolders();
  int selection = 2;
  PickFolderForm form(*store_, selection);
  form.FormShow();
  form.reject();
  EXPECT_EQ(selection, 2);
}

TEST_F(PickListTest, ALargeFolderListOpensWithEveryRow) {
  std::vector<int> numbers(3000);
  for (int i = 0; i < 3000; ++i) numbers[static_cast<size_t>(i)] = 3000 - i;
  AddFolders(numbers);
  store_->OpenFolders();
  int selection = 0;
  PickFolderForm form(*store_, selection);
  form.FormShow();
  ASSERT_EQ(form.model()->rowCount(), 3000);
  EXPECT_EQ(form.model()->row(2999).first(), "3000");
}

}  // namespace
}  // namespace kpr::testing
