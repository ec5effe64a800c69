// The income edit form: typing into its masked fields, Save of a new and an
// existing record, the conversion error, add another, and Delete, each
// checked with the engine and the data directory check.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ledger/income_form.h"
#include "store/clock.h"
#include "tests/ledger/ledger_fixture.h"

namespace kpr::testing {
namespace {

class IncomeFormTest : public LedgerFixture {
 protected:
  // Replaces the amount's text by typing `keys` into it.
  static void TypeAmount(IncomeForm& form, const QString& keys) {
    form.amount_edit()->setFocus();
    form.amount_edit()->selectAll();
    QTest::keyClicks(form.amount_edit(), keys);
  }
};

TEST_F(IncomeFormTest, NewRecordDefaults) {
  OpenForIncome();
  int selection = 0, folder = 2;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(form.objectName(), "TIncome");
  EXPECT_EQ(form.windowTitle(), "Income");
  EXPECT_EQ(form.date_edit()->text(), LocaleFormats::DateToText(Clock::Today()));
  EXPECT_EQ(form.amount_edit()->displayText(), "     0.00");
  EXPECT_EQ(form.description_edit()->text(), "");
  EXPECT_EQ(form.account_box()->currentText().left(7), "   3 - ");
  EXPECT_EQ(form.folder_box()->currentText().left(7), "   2 - ");
  EXPECT_TRUE(form.delete_button()->isHidden());
  folder = -1;
  form.FormShow();
  EXPECT_EQ(form.folder_box()->currentText().left(7), "   1 - ");
}

TEST_F(IncomeFormTest, DecimalSeparatorFormatsTheAmountAndNegativeIsRed) {
  OpenForIncome();
  int selection = 0, folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  TypeAmount(form, "12.");
  EXPECT_EQ(form.amount_edit()->displayText(), "    12.00");
  EXPECT_FALSE(form.amount_is_red());
  TypeAmount(form, "-45.");
  EXPECT_EQ(form.amount_edit()->displayText(), "   -45.00");
  QTest::keyClick(form.amount_edit(), Qt::Key_End);
  EXPECT_TRUE(form.amount_is_red());
}

TEST_F(IncomeFormTest, TypedDateIsCheckedOnLeavingAndHelpAsksForTopic510) {
  OpenForIncome();
  int selection = 0, folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  form.date_edit()->setFocus();
  form.date_edit()->selectAll();
  QTest::keyClicks(form.date_edit(), "133126");
  EXPECT_EQ(form.date_edit()->text(), "13/31/26");
  EXPECT_FALSE(form.MaskEdit1Exit());
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Invalid Date Entered"});
  form.date_edit()->selectAll();
  QTest::keyClicks(form.date_edit(), "123126");
  EXPECT_TRUE(form.MaskEdit1Exit());
  EXPECT_EQ(form.date_edit()->text(), "12/31/26");
  QSignalSpy help(&form, &IncomeForm::HelpRequested);
  form.findChild<QWidget*>("BitBtn1")->metaObject()->invokeMethod(
      form.findChild<QWidget*>("BitBtn1"), "click");
  ASSERT_EQ(help.count(), 1);
  EXPECT_EQ(help.at(0).at(0).toString(), "510");
}

TEST_F(IncomeFormTest, TypingIntoTheChoiceBoxesChangesNothing) {
  OpenForIncome();
  int selection = 0, folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  const QString before = form.account_box()->currentText();
  QTest::keyClicks(form.account_box()->lineEdit(), "xyz");
  EXPECT_EQ(form.account_box()->currentText(), before);
}

TEST_F(IncomeFormTest, SaveNewThenAddAnotherKeepsDateAccountAndFolder) {
  OpenForIncome();
  int selection = 0, folder = 5;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  form.date_edit()->setText("03/04/26");
  TypeAmount(form, "-45.");
  form.description_edit()->setText("  refund ");
  form.account_box()->setCurrentIndex(1);
  ui_.Answer(true);
  form.BtnSaveClick();
  EXPECT_EQ(ui_.texts(), std::vector<QString>{"Add another income record?"});
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(form.amount_edit()->displayText(), "     0.00");
  EXPECT_EQ(form.description_edit()->text(), "");
  EXPECT_EQ(form.date_edit()->text(), "03/04/26");
  EXPECT_EQ(form.account_box()->currentIndex(), 1);
  ui_.Answer(false);
  TypeAmount(form, "20.");
  form.BtnSaveClick();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(selection, 2);
  ExpectConsistent();
  const IncomeRecord first = Read(1);
  EXPECT_EQ(first.IncDate.date(), QDate(2026, 3, 4));
  EXPECT_DOUBLE_EQ(first.IncAmt, -45.0);
  EXPECT_EQ(first.IncDesc.trimmed(), "refund");
  EXPECT_EQ(first.IncAcc, 7);
  EXPECT_EQ(first.FolNo, 5);
  EXPECT_FALSE(first.IncImp);
  EXPECT_DOUBLE_EQ(Read(2).IncAmt, 20.0);
}

TEST_F(IncomeFormTest, ConversionErrorWritesNothing) {
  OpenForIncome();
  int selection = 0, folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  form.amount_edit()->setText("1-2");
  form.MaskEdit2Exit();
  ASSERT_EQ(ui_.texts().size(), 1u);
  EXPECT_TRUE(ui_.texts()[0].endsWith("is not a valid floating point value"));
  ui_.Clear();
  form.BtnSaveClick();
  EXPECT_EQ(ui_.texts(),
            std::vector<QString>{"Data Conversion Error. Please check values and try again"});
  EXPECT_NE(form.result(), QDialog::Accepted);
  ExpectConsistent();
  EXPECT_EQ(Count(), 0u);
}

TEST_F(IncomeFormTest, EditKeepsImportedAndClearsArchive) {
  const uint32_t rec = AddIncome(QDate(2026, 2, 2), 1, 5, "payment", true, true);
  OpenForIncome();
  int selection = static_cast<int>(rec), folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_FALSE(form.delete_button()->isHidden());
  EXPECT_EQ(form.amount_edit()->displayText(), "     5.00");
  form.folder_box()->setCurrentIndex(2);
  form.BtnSaveClick();
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_EQ(selection, int(rec));
  ExpectConsistent();
  const IncomeRecord r = Read(rec);
  EXPECT_TRUE(r.IncImp);
  EXPECT_FALSE(r.Archive);
  EXPECT_EQ(r.FolNo, 5);
}

TEST_F(IncomeFormTest, DeleteAsksNothingAndSetsPackPending) {
  AddIncome(QDate(2026, 2, 2), 1, 5, "one");
  const uint32_t rec = AddIncome(QDate(2026, 2, 3), 1, 6, "two");
  OpenForIncome();
  int selection = static_cast<int>(rec), folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  form.BtnDeleteClick();
  EXPECT_TRUE(ui_.texts().empty());
  EXPECT_EQ(selection, 0);
  EXPECT_TRUE(store_->PackPending);
  ExpectConsistent();
  EXPECT_TRUE(Deleted(rec));
  EXPECT_FALSE(Deleted(1));
}

TEST_F(IncomeFormTest, MissingAccountsDisableSave) {
  store_->OpenIncomeAccounts();
  ASSERT_TRUE(store_->acci->Zap().ok());
  store_->CloseAll();
  OpenForIncome();
  int selection = 0, folder = -1;
  IncomeForm form(*store_, selection, folder);
  form.FormShow();
  EXPECT_EQ(ui_.texts(), std::vector<QString>{
                             "Income Accounts must be defined before entering Income Records"});
  EXPECT_FALSE(form.save_button()->isEnabled());
}

}  // namespace
}  // namespace kpr::testing
