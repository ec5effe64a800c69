// The expense edit form: what it adds to the income form (check number,
// payee, memo), its words, and Save, add another and Delete checked with
// the engine and the data directory check.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "ledger/expense_form.h"
#include "store/clock.h"
#include "tests/ledger/ledger_fixture.h"

namespace kpr::testing {
namespace {

class ExpenseFormTest : public LedgerFixture {
 protected:
  static void Type(QLineEdit* edit, const QString& keys) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
  }
};

TEST_F(ExpenseFormTest, NewRecordDefaultsAndFocusOrder) {
  OpenForExpense();
  int selection = 0, folder = 5;
  ExpenseForm form(*store_, selection, folder);
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.objectName(), "TExpense");
  EXPECT_EQ(form.windowTitle(), "Expense");
  EXPECT_EQ(form.check_edit()->text(), "0");
  EXPECT_EQ(form.date_edit()->text(), LocaleFormats::DateToText(Clock::Today()));
  EXPECT_EQ(form.amount_edit()->displayText(), "     0.00");
  EXPECT_EQ(form.pay_to_edit()->text(), "");
  EXPECT_EQ(form.memo_edit()->text(), "");
  EXPECT_EQ(form.account_box()->currentText().left(7), "   4 - ");
  EXPECT_EQ(form.folder_box()->currentText().left(7), "   5 - ");
  EXPECT_TRUE(form.delete_button()->isHidden());
  // The fields take the focus in the order they are listed on the form.
  std::vector<QString> order;
  QWidget* w = form.check_edit();
  for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) {
    // Skips what takes no focus and the inner edits of the boxes.
    while (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || w->objectName().isEmpty()) {
      w = w->nextInFocusChain();
    }
    order.push_back(w->objectName());
  }
  EXPECT_EQ(order, (std::vector<QString>{"MaskEdit1", "MaskEdit2", "Edit1", "MaskEdit3", "Edit2",
                                         "ComboBox1", "ComboBox2"}));
  form.hide();
  folder = -1;
  form.FormShow();
  EXPECT_EQ(form.folder_box()->currentText().left(7), "   1 - ");
}

TEST_F(ExpenseFormTest, CheckNumberIsRightAlignedOnLeavingAndEmptyIsAConversionError) {
  OpenForExpense();
  int selection = 0, folder = -1;
  ExpenseForm form(*store_, selection, folder);
  form.FormShow();
  Type(form.check_edit(), "123");
  EXPECT_TRUE(form.MaskEdit1Exit());
  EXPECT_EQ(form.check_edit()->text(), "     123");
  Type(form.check_edit(), "123456789x");
  EXPECT_EQ(form.check_edit()->text(), "12345678");  // eight digits at most
  form.check_edit()->clear();
  EXPECT_FALSE(form.MaskEdit1Exit());
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"'' is not a valid integer value"});
  EXPECT_EQ(form.check_edit()->text(), "");
  ui_.Clear();
  form.BtnSaveClick();
  EXPECT_EQ(ui_.texts(),
            std::vector<QString>{"Data Conversion Error. Please check values and try again"});
  ExpectConsistent();
  EXPECT_EQ(ExpenseCount(), 0u);
}

TEST_F(ExpenseFormTest, TabIntoAMaskedFieldSelectsItSoTypingReplacesTheValue) {
  OpenForExpense();
  int selection = 0, folder = -1;
  ExpenseForm form(*store_, selection, folder);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.pay_to_edit()->setFocus();
  QTest::keyClick(form.pay_to_edit(), Qt::Key_Tab);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), form.amount_edit());
  QTest::keyClicks(form.amount_edit(), "-12.5");
  EXPECT_EQ(form.amount_edit()->displayText(), "   -12.50");
  QTest::keyClick(form.amount_edit(), Qt::Key_Backtab);
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), form.pay_to_edit());
  QTest::keyClick(form.pay_to_edit(), Qt::Key_Backtab);
  QApplication::processEvents();
  QTest::keyClicks(form.date_edit(), "0704");
  EXPECT_EQ(form.date_edit()->text(), "07/04/");
  form.hide();
}

TEST_F(ExpenseFormTest, TypedTwoDigitYearsAreStoredInTheCenturyWindow) {
  Clock::SetFixed(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
  struct Case {
    const char* typed;
    QDate stored;
  } cases[] = {{"030426", QDate(2026, 3, 4)},
               {"123199", QDate(1999, 12, 31)},
               {"010286", QDate(1986, 1, 2)},
               {"070166", QDate(2066, 7, 1)}};
  OpenForExpense();
  int selection = 0, folder = -1;
  ExpenseForm form(*store_, selection, folder);
  for (const Case& c : cases) {
    selection = 0;
    form.FormShow();
    Type(form.date_edit(), c.typed);
    EXPECT_TRUE(form.MaskEdit2Exit()) << c.typed;
    ui_.Answer(false);
    form.BtnSaveClick();
    ASSERT_GT(selection, 0) << c.typed;
    store_->exp5->Go(static_cast<uint32_t>(selection));
    EXPECT_EQ(store_->exp5->Text(store_->exp_f.ExpDate), c.stored.toString("yyyyMMdd").toStdString())
        << c.typed;
  }
  ExpectConsistent();
}

TEST_F(ExpenseFormTest, AmountSeparatorAndColourAndHelpTopic530) {
  OpenForExpense();
  int selection = 0, folder = -1;
  ExpenseForm form(*store_, selection, folder);
  form.FormShow();
  Type(form.amount_edit(), "12.");
  EXPECT_EQ(form.amount_edit()->displayText(), "    12.00");
  Type(form.amount_edit(), "-8.");
  QTest::keyClick(form.amount_edit(), Qt::Key_End);
  EXPECT_TRUE(form.amount_is_red());
  QSignalSpy help(&form, &ExpenseForm::HelpRequested);
  form.findChild<QToolButton*>("BitBtn1")->click();
  ASSERT_EQ(help.count(), 1);
  EXPECT_EQ(help.at(0).at(0).toString(), "530");
}

TEST_F(ExpenseFormTest, AddAnotherClearsCheckPayeeAmountAndMemoButKeepsTheRest) {
  OpenForExpense();
  int selection = 0, folder = 2;
  ExpenseForm form(*store_, selection, folder);
  form.FormShow();
  Type(form.check_edit(), "123");
  form.date_edit()->setText("03/04/26");
  form.pay_to_edit()->setText("  Hardware Store ");
  Type(form.amount_edit(), "-45.");
  form.memo_edit()->setText("nails");
  form.account_box()->setCurrentIndex(1);
  ui_.Answer(true);
  form.BtnSaveClick();
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Add another expense record?"});
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(form.check_edit()->text(), "0");
  EXPECT_EQ(form.pay_to_edit()->text(), "");
  EXPECT_EQ(form.amount_edit()->displayText(), "     0.00");
  EXPECT_EQ(form.memo_edit()->text(), "");
  EXPECT_EQ(form.date_edit()->text(), "03/04/26");
  EXPECT_EQ(form.account_box()->currentIndex(), 1);
  EXPECT_EQ(form.folder_box()->currentText().left(4), "   2");
  ui_.Answer(false);
  Type(form.amount_edit(), "20.");
  form.BtnSaveClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(selection, 2);
  ExpectConsistent();
  const ExpenseRecord first = ReadExpense(1);
  EXPECT_EQ(first.CheckNo, 123);
  EXPECT_EQ(first.ExpDate.date(), QDate(2026, 3, 4));
  EXPECT_EQ(first.PayTo.trimmed(), "Hardware Store");
  EXPECT_DOUBLE_EQ(first.Amount, -45.0);
  EXPECT_EQ(first.EMemo.trimmed(), "nails");
  EXPECT_EQ(first.AccNo, 9);
  EXPECT_EQ(first.FolNo, 2);
  const ExpenseRecord second = ReadExpense(2);
  EXPECT_EQ(second.CheckNo, 0);
  EXPECT_EQ(second.PayTo.trimmed(), "");
  EXPECT_EQ(second.EMemo.trimmed(), "");
  EXPECT_DOUBLE_EQ(second.Amount, 20.0);
  EXPECT_EQ(second.AccNo, 9);
}

TEST_F(ExpenseFormTest, EditClearsArchiveAndDeleteAsksNothing) {
  const uint32_t rec = AddExpense(QDate(2026, 2, 2), 4, 1, 5, "payee", 77, true);
  OpenForExpense();
  int selection = static_cast<int>(rec), folder = -1;
  ExpenseForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_FALSE(form.delete_button()->isHidden());
  EXPECT_EQ(form.check_edit()->text(), "77");
  EXPECT_EQ(form.account_box()->currentText().left(4), "   4");
  form.folder_box()->setCurrentIndex(2);
  form.BtnSaveClick();
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_EQ(selection, int(rec));
  ExpectConsistent();
  ExpenseRecord r = ReadExpense(rec);
  EXPECT_FALSE(r.Archive);
  EXPECT_EQ(r.FolNo, 5);
  EXPECT_EQ(r.CheckNo, 77);

  OpenForExpense();
  form.FormShow();
  form.BtnDeleteClick();
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_EQ(selection, 0);
  EXPECT_TRUE(store_->PackPending);
  ExpectConsistent();
  EXPECT_TRUE(ExpenseDeleted(rec));
}

TEST_F(ExpenseFormTest, MissingAccountsOrFoldersAreNamedAndDisableSave) {
  struct Case {
    bool accounts;
    const char* message;
  } cases[] = {{true, "Expense Accounts must be defined before entering Expense Records"},
               {false, "Folders must be defined before entering Expense Records"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    c.accounts ? store_->OpenExpenseAccounts() : store_->OpenFolders();
    ASSERT_TRUE((c.accounts ? store_->acc : store_->folder)->Zap().ok());
    store_->CloseAll();
    OpenForExpense();
    int selection = 0, folder = -1;
    ExpenseForm form(*store_, selection, folder);
    form.FormShow();
    EXPECT_EQ(ui_.texts(), std::vector<QString>{c.message});
    EXPECT_FALSE(form.save_button()->isEnabled());
    store_->CloseAll();
    ui_.Clear();
    AddAccounts(false, {4});
  }
}

}  // namespace
}  // namespace kpr::testing
