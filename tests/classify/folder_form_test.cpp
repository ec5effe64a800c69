// The folder definition form on a small data directory: what Save and
// Delete do to FOLDER, INC5 and EXP5, read back with the engine.
#include <QLineEdit>
#include <QPushButton>

#include "classify/folder_form.h"
#include "tests/classify/classify_fixture.h"

namespace kpr::testing {
namespace {

const std::vector<Entry> kIncome = {{2, 3}, {2, 5, true}, {5, 3}, {1, 5}, {2, 3, false, true}};
const std::vector<Entry> kExpense = {{2, 5}, {5, 5, true}, {2, 7, true}, {4, 5, false, true}};
const std::vector<Class> kFolders = {{1, "Folder 1"}, {2, "Folder 2"}, {4, "Folder 4"}, {5, "Folder 5"}};

const QString kRenumber2To7 =
    "FOLDER NUMBER CHANGED!\r\n\r\nIf you continue, all income and expenses in folder 2 will be "
    "assigned to folder number 7 AND Folder Number 2 will no longer exist.";
const QString kMerge2Into5 =
    "FOLDER NUMBER 5 ALREADY EXISTS.\r\n\r\nIf you continue, all income and expenses in folder 2 "
    "will be merged into folder number 5 which will be renamed to Shop";
const QString kDeleteWarning =
    "WARNING: All income and expenses assigned to this folder will be deleted.\r\n\r\nARE YOU SURE "
    "YOU WANT TO DELETE THIS FOLDER?";

enum class Click { kSave, kDelete };

struct Case {
  const char* name;
  int selection;      // record number the form opens on, 0 for new
  QString number;     // typed into MaskEdit1 (null: left as shown)
  QString desc;       // typed into Edit1
  Click click;
  std::vector<bool> answers;
  std::vector<QString> texts;  // messages shown
  bool closed;                 // the form closed
  int selection_after;
  std::vector<Class> folders;
  std::vector<Entry> income;
  std::vector<Entry> expense;
};

// The field of an entry that the cases move or drop by.
constexpr int Entry::*kFol = &Entry::folder;

const Case kCases[] = {
    {"DescriptionOnly", 2, "2", "Shop", Click::kSave, {}, {}, true, 2,
     With(kFolders, 1, {2, "Shop"}), kIncome, kExpense},
    {"RenumberToFreeNumber", 2, "7", "Shop", Click::kSave, {true}, {kRenumber2To7}, true, 2,
     With(kFolders, 1, {7, "Shop"}), Moved(kIncome, kFol, 2, 7), Moved(kExpense, kFol, 2, 7)},
    {"RenumberCancelled", 2, "7", "Shop", Click::kSave, {false}, {kRenumber2To7}, false, 2, kFolders,
     kIncome, kExpense},
    {"MergeIntoExisting", 2, "5", "Shop", Click::kSave, {true}, {kMerge2Into5}, true, 2,
     With(With(kFolders, 1, {5, "Shop"}), 3, {5, "Folder 5", true}), Moved(kIncome, kFol, 2, 5),
     Moved(kExpense, kFol, 2, 5)},
    {"MergeCancelled", 2, "5", "Shop", Click::kSave, {false}, {kMerge2Into5}, false, 2, kFolders,
     kIncome, kExpense},
    {"DeleteRemovesArchivedRecordsToo", 2, {}, {}, Click::kDelete, {true}, {kDeleteWarning}, true, 0,
     With(kFolders, 1, {2, "Folder 2", true}), Dropped(kIncome, kFol, 2),
     Dropped(kExpense, kFol, 2)},
    {"DeleteAnsweredNo", 2, {}, {}, Click::kDelete, {false}, {kDeleteWarning}, false, 2, kFolders,
     kIncome, kExpense},
    {"NumberZeroRefused", 2, "0", "Shop", Click::kSave, {},
     {"Folder Number must be greater than zero."}, false, 2, kFolders, kIncome, kExpense},
    {"EmptyNumberRefused", 2, "", "Shop", Click::kSave, {}, {"'' is not a valid integer value"},
     false, 2, kFolders, kIncome, kExpense},
    {"NewFolderGetsLowestFreeNumber", 0, {}, "Garden", Click::kSave, {false},
     {"Add another folder?"}, true, 5,
     [] {
       auto v = kFolders;
       v.push_back({3, "Garden"});
       return v;
     }(),
     kIncome, kExpense},
};

class FolderFormTest : public ClassifyFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(FolderFormTest, ChangesExactlyTheRightRecords) {
  const Case& c = GetParam();
  AddFolders({1, 2, 4, 5});
  AddEntries(true, kIncome);
  AddEntries(false, kExpense);
  store_->OpenFolders();
  int selection = c.selection;
  FolderForm form(*store_, selection);
  form.FormShow();
  if (!c.number.isNull()) form.number_edit()->setText(c.number);
  if (!c.desc.isNull()) form.description_edit()->setText(c.desc);
  for (bool a : c.answers) ui_.Answer(a);
  c.click == Click::kSave ? form.BtnSaveClick() : form.BtnDeleteClick();

  EXPECT_EQ(ui_.texts(), c.texts);
  EXPECT_EQ(form.result() == QDialog::Accepted, c.closed);
  EXPECT_EQ(selection, c.selection_after);
  EXPECT_EQ(store_->PackPending, std::any_of(c.folders.begin(), c.folders.end(),
                                             [](const Class& f) { return f.deleted; }));
  ExpectConsistent();
  EXPECT_EQ(Classes("F"), c.folders);
  EXPECT_EQ(Entries(true), c.income);
  EXPECT_EQ(Entries(false), c.expense);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderFormTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

using FolderNumberTest = ClassifyFixture;

TEST_F(FolderNumberTest, NewFoldersAreOfferedTheLowestFreeNumbers) {
  struct Offer {
    std::vector<int> folders;
    int first;   // offered on show
    int second;  // offered after "Add another folder?" Yes
  };
  for (const Offer& o : std::vector<Offer>{{{}, 1, 2}, {{1, 2, 4}, 3, 5}, {{2, 3}, 1, 4},
                                            {{0, 1, 2}, 3, 4}}) {
    SCOPED_TRACE(::testing::PrintToString(o.folders));
    store_->OpenFolders();
    ASSERT_TRUE(store_->folder->Zap().ok());
    store_->CloseAll();
    AddFolders(o.folders);
    store_->OpenFolders();
    int selection = 0;
    FolderForm form(*store_, selection);
    form.FormShow();
    EXPECT_EQ(form.number_edit()->text(), QString::number(o.first));
    EXPECT_FALSE(form.number_edit()->isEnabled());
    EXPECT_TRUE(form.delete_button()->isHidden());
    ui_.Answer(true);
    form.BtnSaveClick();
    EXPECT_EQ(form.number_edit()->text(), QString::number(o.second));
    EXPECT_EQ(selection, 0);
    EXPECT_NE(form.result(), QDialog::Accepted);
    ExpectConsistent();
  }
}

TEST_F(FolderNumberTest, LeavingTheNumberFieldRightAlignsOrRefuses) {
  AddFolders({1});
  store_->OpenFolders();
  int selection = 1;
  FolderForm form(*store_, selection);
  form.FormShow();
  form.number_edit()->setText("7");
  EXPECT_TRUE(form.MaskEdit1Exit());
  EXPECT_EQ(form.number_edit()->text(), "   7");
  form.number_edit()->setText("0");
  EXPECT_FALSE(form.MaskEdit1Exit());
  form.number_edit()->setText("x");
  EXPECT_FALSE(form.MaskEdit1Exit());
  EXPECT_EQ(ui_.texts(), (std::vector<QString>{"Folder Number must be greater than zero.",
                                                "'x' is not a valid integer value"}));
}

TEST_F(FolderNumberTest, CancelThenDeleteRemovesTheFolderTheFormOpenedOn) {
  AddFolders({1, 2, 5});
  AddEntries(true, {{2, 1}, {5, 1}});
  store_->OpenFolders();
  int selection = 2;
  FolderForm form(*store_, selection);
  form.FormShow();
  form.number_edit()->setText("5");
  ui_.Answer(false);
  form.BtnSaveClick();
  ui_.Answer(true);
  form.BtnDeleteClick();
  ExpectConsistent();
  EXPECT_EQ(Classes("F"), (std::vector<Class>{{1, "Folder 1"}, {2, "Folder 2", true}, {5, "Folder 5"}}));
  EXPECT_EQ(Entries(true), (std::vector<Entry>{{2, 1, false, true}, {5, 1}}));
}

TEST_F(FolderNumberTest, HelpAsksForTopic570) {
  store_->OpenFolders();
  int selection = 0;
  FolderForm form(*store_, selection);
  QString topic;
  QObject::connect(&form, &DefinitionForm::HelpRequested, [&](const QString& t) { topic = t; });
  QMetaObject::invokeMethod(form.findChild<QObject*>("BitBtn1"), "click");
  EXPECT_EQ(topic, "570");
  EXPECT_EQ(form.objectName(), "TFolderF");
  EXPECT_EQ(form.windowTitle(), "Folder Definition");
}

}  // namespace
}  // namespace kpr::testing
