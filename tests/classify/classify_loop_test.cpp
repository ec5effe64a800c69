// The three classification buttons of the main window: the pick-and-edit
// loop with scripted forms, the tables closed afterwards, the Default Folder
// box refilled after the folder loop, and the forms' help topics.
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

#include "app/help_viewer.h"
#include "app/main_window.h"
#include "classify/account_form.h"
#include "classify/folder_form.h"
#include "classify/pick_account_form.h"
#include "classify/pick_folder_form.h"
#include "tests/classify/classify_fixture.h"
#include "tests/support/main_window_loop.h"

namespace kpr::testing {
namespace {

class ClassifyLoopTest : public ClassifyFixture {
 protected:
  MainWindow& Start() { return loop_.Start(*store_, ui_); }
  void TearDown() override { loop_.Close(); }
  template <typename T>
  void Next(std::function<void(T&)> fn) {
    MainWindowLoop::Next(ui_, std::move(fn));
  }

  MainWindowLoop loop_;
};

TEST_F(ClassifyLoopTest, FolderLoopRenumbersKeepsTheSavedRowCurrentAndRefillsTheFolderBox) {
  AddFolders({1, 2});
  MainWindow& w = Start();
  Next<PickFolderForm>([](PickFolderForm& p) {
    p.set_current_row(1);
    p.PickRow();
  });
  Next<FolderForm>([this](FolderForm& f) {
    f.number_edit()->setText("7");
    ui_.Answer(true);
    f.BtnSaveClick();
  });
  int current = -1;
  Next<PickFolderForm>([&](PickFolderForm& p) {
    current = p.current_row();
    p.BtnExitClick();
  });
  w.FoldersClicked();
  EXPECT_FALSE(ui_.modals_left());
  EXPECT_EQ(current, 1);
  EXPECT_TRUE(store_->engine().tables().empty());
  EXPECT_TRUE(w.state().RefillFolderBox);
  w.RefillFolderBoxIfNeeded();
  auto* box = w.findChild<QComboBox*>("FolderCBox");
  ASSERT_EQ(box->count(), 3);
  EXPECT_TRUE(box->itemText(2).startsWith("   7 - Folder 2"));
  ExpectConsistent();
}

TEST_F(ClassifyLoopTest, IncomeAccountLoopAddsAnAccountAndListsItAsCurrentRow) {
  AddAccounts(true, {1, 2});
  AddAccounts(false, {1});
  MainWindow& w = Start();
  Next<PickAccountForm>([](PickAccountForm& p) { p.BtnNewClick(); });
  Next<AccountForm>([this](AccountForm& f) {
    EXPECT_EQ(f.number_edit()->text(), "3");
    f.description_edit()->setText("Sales");
    ui_.Answer(false);
    f.BtnSaveClick();
  });
  int current = -1;
  Next<PickAccountForm>([&](PickAccountForm& p) {
    current = p.current_row();
    p.BtnExitClick();
  });
  w.AccountsIClicked();
  EXPECT_FALSE(ui_.modals_left());
  EXPECT_EQ(w.state().AccountKind, "I");
  EXPECT_EQ(current, 2);
  EXPECT_TRUE(store_->engine().tables().empty());
  EXPECT_EQ(Classes("I").back(), (Class{3, "Sales"}));
  EXPECT_EQ(Classes("E").size(), 1u);
  ExpectConsistent();
}

TEST_F(ClassifyLoopTest, ClosingThePickListGoesOnWithThePreviousCodeAndCancelChangesNothing) {
  AddAccounts(false, {4});
  MainWindow& w = Start();
  Next<PickAccountForm>([](PickAccountForm& p) { p.reject(); });  // code stays 0: a new account
  Next<AccountForm>([](AccountForm& f) {
    f.number_edit()->setText("9");
    f.BtnCancelClick();
  });
  Next<PickAccountForm>([](PickAccountForm& p) { p.BtnExitClick(); });
  w.AccountsEClicked();
  EXPECT_FALSE(ui_.modals_left());
  EXPECT_EQ(w.state().AccountKind, "E");
  EXPECT_EQ(Classes("E"), (std::vector<Class>{{4, "Account 4"}}));
  ExpectConsistent();
}

TEST_F(ClassifyLoopTest, HelpButtonsOpenTheirTopics) {
  MainWindow& w = Start();
  for (auto [form, topic] : {std::pair<QDialog*, const char*>{w.folder_form(), "570"},
                             {w.account_form(), "550"}}) {
    form->findChild<QToolButton*>("BitBtn1")->click();
    EXPECT_EQ(w.help_viewer()->current_topic(), topic);
  }
}

}  // namespace
}  // namespace kpr::testing
