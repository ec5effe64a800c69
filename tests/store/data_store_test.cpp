#include "store/data_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>

#include "store/clock.h"
#include "store/date_text.h"
#include "tests/support/data_dir.h"

namespace kpr {
namespace {

using testing::DataDirFixture;
using testing::ProgramExit;

class DataStoreTest : public DataDirFixture {
 protected:
  void TearDown() override { Clock::Reset(); }

  std::vector<int> FolderNumbersInOrder() {
    std::vector<int> out;
    store_->OpenFolders();
    for (int r = store_->LastResult; r != Table::kEndOfFile; r = store_->folder->Skip(1)) {
      store_->LoadFolder();
      out.push_back(store_->Folder.FolNo);
    }
    store_->CloseAll();
    return out;
  }

  // Inode and modification time of each file, to see which were written anew
  // (a freed inode may be reused by the next new file).
  std::map<std::string, std::pair<ino_t, int64_t>> Inodes(const std::vector<std::string>& names) {
    std::map<std::string, std::pair<ino_t, int64_t>> out;
    for (const auto& n : names) {
      struct stat st {};
      out[n] = ::stat(Path(n).c_str(), &st) == 0
                   ? std::make_pair(st.st_ino, int64_t{st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec})
                   : std::make_pair(ino_t{0}, int64_t{0});
    }
    return out;
  }
};

TEST_F(DataStoreTest, DataFilesPresentNeedsEverySixTables) {
  EXPECT_TRUE(store_->DataFilesPresent());
  for (const char* name : {"KPR1.dbf", "ACC.dbf", "EXP5.dbf", "FOLDER.dbf", "INC5.dbf", "ACCI.dbf"}) {
    const std::string moved = Path(std::string(name) + ".away");
    ASSERT_EQ(std::rename(Path(name).c_str(), moved.c_str()), 0);
    EXPECT_FALSE(store_->DataFilesPresent()) << name;
    ASSERT_EQ(std::rename(moved.c_str(), Path(name).c_str()), 0);
  }
}

TEST_F(DataStoreTest, DataFilesPresentIgnoresCase) {
  ASSERT_EQ(std::rename(Path("FOLDER.dbf").c_str(), Path("folder.DBF").c_str()), 0);
  EXPECT_TRUE(store_->DataFilesPresent());
  store_->OpenFolders();
  EXPECT_EQ(store_->LastResult, Table::kEndOfFile);
  store_->CloseAll();
}

struct NextFolderCase {
  std::vector<int> folders;
  int expected;
};

class NextFolderNumberTest : public DataStoreTest,
                             public ::testing::WithParamInterface<NextFolderCase> {};

TEST_P(NextFolderNumberTest, FindsLowestUnusedNumber) {
  AddFolders(GetParam().folders);
  store_->OpenFolders();
  EXPECT_EQ(store_->NextFolderNumber(), GetParam().expected);
  store_->CloseAll();
}

INSTANTIATE_TEST_SUITE_P(Cases, NextFolderNumberTest,
                         ::testing::Values(NextFolderCase{{1, 2, 4}, 3},
                                           NextFolderCase{{1, 2, 3}, 4}, NextFolderCase{{}, 1},
                                           NextFolderCase{{2, 3}, 1},
                                           NextFolderCase{{4, 1, 2}, 3}));

TEST_F(DataStoreTest, DeletedFolderIsNeverReachedThroughItsTag) {
  AddFolders({1, 2, 3});
  store_->OpenFolders();
  store_->folder->Skip(1);  // folder 2
  ASSERT_TRUE(store_->folder->Delete().ok());
  EXPECT_EQ(store_->NextFolderNumber(), 2);
  store_->CloseAll();
  EXPECT_EQ(FolderNumbersInOrder(), (std::vector<int>{1, 3}));
}

TEST_F(DataStoreTest, RebuildAllShowsProgressSteps) {
  store_->RebuildIndexes(false);
  const std::vector<QString> want = {"show:Rebuilding Indexes", "20", "35", "45", "50", "80",
                                     "100", "hide"};
  EXPECT_EQ(ui_.progress(), want);
  EXPECT_EQ(store_->engine().access_mode(), 0);
  EXPECT_TRUE(store_->engine().auto_open());
}

TEST_F(DataStoreTest, RebuildOnlyMissingTouchesOnlyTheTableWithAMissingFile) {
  const std::vector<std::string> files = {"AccTag.ntx", "Acc.cgp",   "AccITag.ntx", "AccI.cgp",
                                          "FolTag.ntx", "Folder.cgp", "EDate.ntx",  "EAcc.ntx",
                                          "exp5.cgp",   "IncDate.ntx", "IncAcc.ntx", "INC5.cgp"};
  store_->RebuildIndexes(true);  // everything present: nothing re-created
  const auto before = Inodes(files);
  store_->RebuildIndexes(true);
  EXPECT_EQ(Inodes(files), before);
  EXPECT_TRUE(ui_.progress().empty());

  ASSERT_EQ(std::remove(Path("EAcc.ntx").c_str()), 0);
  store_->RebuildIndexes(true);
  const auto after = Inodes(files);
  for (const auto& name : files) {
    const bool exp5 = name == "EDate.ntx" || name == "EAcc.ntx" || name == "exp5.cgp";
    EXPECT_NE(after.at(name).first, 0u) << name;
    if (exp5) {
      EXPECT_NE(after.at(name), before.at(name)) << name << " should be re-created";
    } else {
      EXPECT_EQ(after.at(name), before.at(name)) << name << " should be left alone";
    }
  }
}

TEST_F(DataStoreTest, BlankDateLoadsAsNowAndStoresAsToday) {
  Clock::SetFixed(QDateTime(QDate(2026, 3, 9), QTime(14, 30)));
  store_->OpenIncomes();
  ASSERT_TRUE(store_->inc5->AppendBlank().ok());
  store_->LoadIncome();
  EXPECT_EQ(store_->Income.IncDate, QDateTime(QDate(2026, 3, 9), QTime(14, 30)));
  ASSERT_TRUE(store_->StoreIncome().ok());
  EXPECT_EQ(store_->inc5->Text(store_->inc_f.IncDate), "20260309");
  store_->CloseAll();
}

TEST_F(DataStoreTest, StoredLogicalsAreTOrFNeverBlank) {
  store_->OpenIncomes();
  ASSERT_TRUE(store_->inc5->AppendBlank().ok());
  store_->Income = {};
  store_->Income.IncDate = QDateTime(QDate(2026, 1, 5), QTime(0, 0));
  store_->Income.IncImp = true;
  ASSERT_TRUE(store_->StoreIncome().ok());
  EXPECT_EQ(store_->inc5->Text(store_->inc_f.IncImp), "T");
  EXPECT_EQ(store_->inc5->Text(store_->inc_f.Archive), "F");
  store_->CloseAll();
}

TEST_F(DataStoreTest, SettingsTextIsCutTo59Characters) {
  store_->OpenSettings();
  store_->LoadSettings();
  EXPECT_EQ(store_->Settings.FyMonth, 1);
  EXPECT_EQ(store_->Settings.FyDay, 1);
  store_->Settings.UName = QString(70, 'u');
  store_->Settings.FontName = QString(70, 'f');
  ASSERT_TRUE(store_->StoreSettings().ok());
  store_->CloseAll();
  store_->OpenSettings();
  store_->LoadSettings();
  EXPECT_EQ(store_->Settings.UName, QString(59, 'u') + " ");  // the field is 60 wide
  EXPECT_EQ(store_->Settings.FontName.trimmed(), QString(59, 'f'));
  store_->CloseAll();
}

TEST_F(DataStoreTest, AmountTooWideIsRefusedAndRecordUnchanged) {
  store_->OpenIncomes();
  ASSERT_TRUE(store_->inc5->AppendBlank().ok());
  store_->Income = {7, QDateTime(QDate(2026, 2, 1), QTime()), "First", 12.5, 1, false, false};
  ASSERT_TRUE(store_->StoreIncome().ok());
  store_->Income.IncDesc = "Second";
  store_->Income.IncAmt = 1e12;  // N 12 2 holds at most 999999999.99
  Status s = store_->StoreIncome();
  EXPECT_FALSE(s.ok());
  EXPECT_TRUE(QString::fromStdString(s.message()).contains("IncAmt", Qt::CaseInsensitive))
      << s.message();
  EXPECT_TRUE(QString::fromStdString(s.message()).contains("INC5.dbf record 1")) << s.message();
  EXPECT_LT(store_->engine().ErrorCode(), 0);
  store_->CloseAll();
  store_->OpenIncomes();
  store_->LoadIncome();
  EXPECT_EQ(store_->Income.IncDesc.trimmed(), "First");
  EXPECT_DOUBLE_EQ(store_->Income.IncAmt, 12.5);
  store_->CloseAll();
}

TEST_F(DataStoreTest, MissingTableEndsTheProgramWithItsName) {
  ASSERT_EQ(std::remove(Path("INC5.dbf").c_str()), 0);
  try {
    store_->OpenIncomes();
    FAIL() << "the open routine returned";
  } catch (const ProgramExit&) {
  }
  ASSERT_EQ(ui_.texts().size(), 1u);
  EXPECT_EQ(ui_.texts()[0], "Unable to open file INC5.DBF\nProgram will now terminate.");
  EXPECT_TRUE(store_->engine().tables().empty());
}

TEST_F(DataStoreTest, DamagedGroupFileIsRecreatedInsteadOfEndingTheProgram) {
  AddFolders({1, 2});
  testing::WriteFileBytes(Path("Folder.cgp"), "garbage");
  EXPECT_EQ(FolderNumbersInOrder(), (std::vector<int>{1, 2}));
  EXPECT_TRUE(ui_.texts().empty());
}

TEST_F(DataStoreTest, MissingIndexFileIsRebuiltOnOpen) {
  AddFolders({3, 1, 2});
  ASSERT_EQ(std::remove(Path("FolTag.ntx").c_str()), 0);
  EXPECT_EQ(FolderNumbersInOrder(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace kpr
