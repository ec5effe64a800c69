// The account definition form on both charts: what Save and Delete do to
// the chart and to the records of that chart only, read back with the engine.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "classify/account_chart.h"
#include "classify/account_form.h"
#include "tests/classify/classify_fixture.h"

namespace kpr::testing {
namespace {

// Both tables use account numbers 3 and 5, so a change to the wrong table
// shows.
const std::vector<Entry> kIncome = {{1, 3}, {1, 5, true}, {2, 3}, {2, 5}, {1, 3, false, true}};
const std::vector<Entry> kExpense = {{1, 5}, {2, 5, true}, {1, 3}, {2, 5, false, true}};
const std::vector<Class> kExpenseChart = {{3, "Account 3"}, {5, "Account 5"}, {7, "Account 7"}};
const std::vector<Class> kIncomeChart = {{3, "Account 3"}, {5, "Account 5"}};

enum class Click { kSave, kDelete };

struct Case {
  const char* name;
  const char* kind;  // AccountKind
  int selection;
  QString number;  // null: as shown
  QString desc;
  Click click;
  std::vector<bool> answers;
  std::vector<QString> texts;
  bool closed;
  int selection_after;
  std::vector<Class> chart;  // the chart AccountKind names; the other stays as it was
  std::vector<Entry> income;
  std::vector<Entry> expense;
};

std::vector<Class> Plus(std::vector<Class> v, Class c) {
  v.push_back(c);
  return v;
}

// The field of an entry that the cases move or drop by.
constexpr int Entry::*kAcc = &Entry::account;

const QString kExpenseRenumber =
    "ACCOUNT NUMBER CHANGED!\r\n\r\nIf you continue, all expenses in account 5 will be moved to "
    "account number 9 AND Account Number 5 will no longer exist.";
const QString kIncomeMerge =
    "ACCOUNT NUMBER 3 ALREADY EXISTS.\r\n\r\nIf you continue, all income in account 5 will be "
    "merged into account 3 which will be renamed to Sales";
const QString kExpenseDelete =
    "WARNING: All expenses assigned to this account will be deleted.\r\n\r\nARE YOU SURE YOU WANT "
    "TO DELETE THIS ACCOUNT?";
const QString kIncomeDelete =
    "WARNING: All income assigned to this account will be deleted.\r\n\r\nARE YOU SURE YOU WANT TO "
    "DELETE THIS ACCOUNT?";
const QString kExists = "Account number already exists.  Please enter a different number.";

const Case kCases[] = {
    {"DescriptionOnly", "E", 2, "5", "Fuel", Click::kSave, {}, {}, true, 2,
     With(kExpenseChart, 1, {5, "Fuel"}), kIncome, kExpense},
    {"RenumberExpenseAccount", "E", 2, "9", "Fuel", Click::kSave, {true}, {kExpenseRenumber}, true,
     2, With(kExpenseChart, 1, {9, "Fuel"}), kIncome, Moved(kExpense, kAcc, 5, 9)},
    {"RenumberCancelled", "E", 2, "9", "Fuel", Click::kSave, {false}, {kExpenseRenumber}, false, 2,
     kExpenseChart, kIncome, kExpense},
    {"MergeIncomeAccount", "I", 2, "3", "Sales", Click::kSave, {true}, {kIncomeMerge}, true, 2,
     With(With(kIncomeChart, 0, {3, "Account 3", true}), 1, {3, "Sales"}),
     Moved(kIncome, kAcc, 5, 3), kExpense},
    {"MergeCancelled", "I", 2, "3", "Sales", Click::kSave, {false}, {kIncomeMerge}, false, 2,
     kIncomeChart, kIncome, kExpense},
    {"DeleteExpenseAccount", "E", 2, {}, {}, Click::kDelete, {true}, {kExpenseDelete}, true, 0,
     With(kExpenseChart, 1, {5, "Account 5", true}), kIncome, Dropped(kExpense, kAcc, 5)},
    {"DeleteIncomeAccount", "I", 1, {}, {}, Click::kDelete, {true}, {kIncomeDelete}, true, 0,
     With(kIncomeChart, 0, {3, "Account 3", true}), Dropped(kIncome, kAcc, 3), kExpense},
    {"DeleteAnsweredNo", "I", 1, {}, {}, Click::kDelete, {false}, {kIncomeDelete}, false, 1,
     kIncomeChart, kIncome, kExpense},
    {"NumberZeroRefused", "E", 2, "0", "Fuel", Click::kSave, {},
     {"Account Number must be greater than zero."}, false, 2, kExpenseChart, kIncome, kExpense},
    {"NewWithNumberInUseRefused", "E", 0, "7", "Rent", Click::kSave, {}, {kExists}, false, 0,
     kExpenseChart, kIncome, kExpense},
    {"NewAccountAdded", "I", 0, {}, "Rent", Click::kSave, {false}, {"Add another account?"}, true,
     3, Plus(kIncomeChart, {6, "Rent"}), kIncome, kExpense},
};

class AccountFormTest : public ClassifyFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(AccountFormTest, ChangesExactlyTheRightRecords) {
  const Case& c = GetParam();
  AddAccounts(false, {3, 5, 7});
  AddAccounts(true, {3, 5});
  AddEntries(true, kIncome);
  AddEntries(false, kExpense);
  const QString kind = c.kind;
  AccountChart(kind).Open(*store_);
  int selection = c.selection;
  AccountForm form(*store_, selection, kind);
  form.FormShow();
  if (!c.number.isNull()) form.number_edit()->setText(c.number);
  if (!c.desc.isNull()) form.description_edit()->setText(c.desc);
  for (bool a : c.answers) ui_.Answer(a);
  c.click == Click::kSave ? form.BtnSaveClick() : form.BtnDeleteClick();

  EXPECT_EQ(ui_.texts(), c.texts);
  EXPECT_EQ(form.result() == QDialog::Accepted, c.closed);
  EXPECT_EQ(selection, c.selection_after);
  ExpectConsistent();
  const bool expense = kind == "E";
  // The names the fixture gives keep only the number part of a description.
  EXPECT_EQ(Classes(expense ? "E" : "I"), c.chart);
  EXPECT_EQ(Classes(expense ? "I" : "E"), expense ? kIncomeChart : kExpenseChart);
  EXPECT_EQ(Entries(true), c.income);
  EXPECT_EQ(Entries(false), c.expense);
}

INSTANTIATE_TEST_SUITE_P(Cases, AccountFormTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using AccountNumberTest = ClassifyFixture;

TEST_F(AccountNumberTest, NewAccountsAreOfferedOnePastTheHighestButNeverAbove9999) {
  struct Offer {
    std::vector<int> accounts;
    int first;
    int second;  // after "Add another account?" Yes
  };
  for (const Offer& o : std::vector<Offer>{
           {{}, 1, 2}, {{1, 2, 10}, 11, 12}, {{1, 9999}, 2, 3}, {{1, 2, 9998}, 9999, 3}}) {
    SCOPED_TRACE(::testing::PrintToString(o.accounts));
    store_->OpenExpenseAccounts();
    ASSERT_TRUE(store_->acc->Zap().ok());
    store_->CloseAll();
    AddAccounts(false, o.accounts);
    store_->OpenExpenseAccounts();
    int selection = 0;
    const QString kind = "E";
    AccountForm form(*store_, selection, kind);
    form.FormShow();
    EXPECT_EQ(form.number_edit()->text(), QString::number(o.first));
    EXPECT_TRUE(form.flag_box()->isChecked());
    EXPECT_EQ(form.flag_box()->text(), "Tax Deductible");
    EXPECT_TRUE(form.delete_button()->isHidden());
    ui_.Answer(true);
    form.BtnSaveClick();
    EXPECT_EQ(form.number_edit()->text(), QString::number(o.second));
    ExpectConsistent();
  }
}

TEST_F(AccountNumberTest, ANumberOnlyADeletedAccountCarriesIsFree) {
  AddAccounts(true, {4, 8});
  store_->OpenIncomeAccounts();
  store_->acci->Go(2);
  ASSERT_TRUE(store_->acci->Delete().ok());
  int selection = 0;
  const QString kind = "I";
  AccountForm form(*store_, selection, kind);
  form.FormShow();
  EXPECT_EQ(form.flag_box()->text(), "Taxable");
  form.number_edit()->setText("8");
  form.description_edit()->setText("Again");
  ui_.Answer(false);
  form.BtnSaveClick();
  EXPECT_EQ(selection, 3);
  ExpectConsistent();
  EXPECT_EQ(Classes("I"), (std::vector<Class>{{4, "Account 4"}, {8, "Account 8", true}, {8, "Again"}}));
}

}  // namespace
}  // namespace kpr::testing
