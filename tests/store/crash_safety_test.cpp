// A write that fails part way (a full disk) at any byte of Pack, Zap or
// AppendBlank loses nothing: reopened without faults, the table is the old
// one or the new one, whole, and its tags walk right.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "store/engine.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

using Records = std::vector<std::string>;  // raw records, deletion mark included

struct Scenario {
  const char* name;
  std::function<Status(Table*)> run;
  std::function<Records(const Records& before)> after;  // the table when it succeeds
};

Records LiveOnly(const Records& before) {
  Records out;
  for (const auto& r : before) {
    if (r[0] != '*') out.push_back(r);
  }
  return out;
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new TempDir;
    ASSERT_TRUE(MakeInstalledDataDir(pristine_->path()).ok());
    FillExp5(pristine_->path(), 15, 3);  // records 7 and 14 deleted
    // Only EXP5 and its index and group files are needed: less to copy.
    for (const auto& e : std::filesystem::directory_iterator(pristine_->path())) {
      const std::string name = e.path().filename().string();
      if (name != "EXP5.dbf" && name != "exp5.cgp" && name != "EDate.ntx" && name != "EAcc.ntx") {
        std::filesystem::remove(e.path());
      }
    }
  }
  static void TearDownTestSuite() {
    delete pristine_;
    pristine_ = nullptr;
  }
  void SetUp() override { before_ = Contents(pristine_->path()); }

  void Restore() {
    for (const auto& e : std::filesystem::directory_iterator(dir_.path())) {
      std::filesystem::remove(e.path());
    }
    CopyDirFiles(pristine_->path(), dir_.path());
  }

  // The records of EXP5 in dir as the engine reads them.
  Records Contents(const std::string& dir) {
    Engine engine(dir, &unsynced_);
    Table* t = engine.Open("EXP5");
    Records out;
    if (t == nullptr) {
      ADD_FAILURE() << engine.error_message();
      return out;
    }
    for (uint32_t n = 1; n <= t->RecCount(); ++n) {
      if (t->Go(n) != Table::kOnRecord) ADD_FAILURE() << "record " << n;
      out.push_back(t->image());
    }
    return out;
  }

  // Runs the scenario on a fresh copy with the given write budget (negative:
  // none), then goes on using the table as a program that ignored the error
  // would. Returns the bytes written.
  int64_t RunWithBudget(const Scenario& sc, int64_t budget) {
    Restore();
    FaultyFileSystem faulty(&unsynced_);
    int64_t start = 0;
    {
      Engine engine(dir_.path(), &faulty);
      Table* t = engine.Open("EXP5");
      if (t == nullptr) {
        ADD_FAILURE() << engine.error_message();
        return 0;
      }
      EXPECT_TRUE(engine.notes().empty()) << engine.notes().front();
      start = faulty.bytes_written();
      faulty.set_write_budget(budget);
      Status s = sc.run(t);
      if (budget < 0) {
        EXPECT_TRUE(s.ok()) << s.ToString();
      }
      for (const auto& tag : t->tags()) {
        t->SelectTag(tag.get());
        int steps = 0;
        for (int r = t->Top(); r == Table::kOnRecord && steps < 40; r = t->Skip(1)) {
          ++steps;
        }
        t->Seek("2010");
        t->Bottom();
      }
      t->SelectTag(nullptr);
      t->Go(1);
    }  // closed here, with the budget still in force
    return faulty.bytes_written() - start;
  }

  // Reopened on the real disk: the old table or the new one, whole, with
  // tags that walk right. And the header never counts a record the file
  // does not hold whole (an append writes the record before the count).
  void ExpectOldOrNew(const Scenario& sc, const std::string& when) {
    SCOPED_TRACE(std::string(sc.name) + ", " + when);
    const std::string bytes = ReadFileBytes(dir_.File("EXP5.dbf"));
    ASSERT_GE(bytes.size(), 12u);
    auto u = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    const uint32_t count = u(4) | u(5) << 8 | u(6) << 16 | u(7) << 24;
    const uint32_t header_length = u(8) | u(9) << 8, record_length = u(10) | u(11) << 8;
    EXPECT_LE(count, (bytes.size() - header_length) / record_length);
    const Records now = Contents(dir_.path());
    const Records after = sc.after(before_);
    EXPECT_TRUE(now == before_ || now == after)
        << now.size() << " records; before " << before_.size() << ", after " << after.size();
    Engine engine(dir_.path(), &unsynced_);
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr) << engine.error_message();
    ExpectExp5TagsRight(t);
  }

  void RunEveryBudget(const Scenario& sc) {
    const int64_t total = RunWithBudget(sc, -1);
    ASSERT_GT(total, 0);
    ExpectOldOrNew(sc, "no fault");
    for (int64_t budget = 0; budget <= total; ++budget) {
      RunWithBudget(sc, budget);
      ExpectOldOrNew(sc, "writes fail after " + std::to_string(budget) + " of " +
                             std::to_string(total) + " bytes");
      if (HasFailure()) return;
    }
  }

  static TempDir* pristine_;
  UnsyncedFileSystem unsynced_;
  TempDir dir_{MemoryTempParent()};  // thousands of small files are written
  Records before_;
};

TempDir* CrashSafetyTest::pristine_ = nullptr;

TEST_F(CrashSafetyTest, PackInterruptedAtAnyByteLosesNothing) {
  RunEveryBudget({"pack", [](Table* t) { return t->Pack(); }, LiveOnly});
}

TEST_F(CrashSafetyTest, ZapInterruptedAtAnyByteLeavesTheOldTableOrAnEmptyOne) {
  RunEveryBudget(
      {"zap", [](Table* t) { return t->Zap(); }, [](const Records&) { return Records{}; }});
}

TEST_F(CrashSafetyTest, AppendInterruptedAtAnyByteLosesNothingAndNeverCountsAHalfRecord) {
  RunEveryBudget({"append", [](Table* t) { return t->AppendBlank(); },
                  [](const Records& before) {
                    Records after = before;
                    after.push_back(std::string(before.front().size(), ' '));
                    return after;
                  }});
}

// Record 256 changes two bytes of the count. Wherever the writes stop, the
// table reads as its 255 records or as 256; never as fewer.
TEST(CountCrashSafetyTest, AppendThatCarriesTheCountIntoItsNextByteLosesNothing) {
  TempDir pristine, dir(MemoryTempParent());
  UnsyncedFileSystem unsynced;
  ASSERT_TRUE(MakeTable(pristine.File("T.dbf"), {Field("A", 'C', 4)}).ok());
  {
    Engine engine(pristine.path(), &unsynced);
    Table* t = engine.Open("T");
    ASSERT_NE(t, nullptr);
    for (int i = 1; i <= 255; ++i) {
      ASSERT_TRUE(t->AppendBlank().ok());
      ASSERT_TRUE(t->SetText(0, std::to_string(i)).ok());
    }
  }
  auto expect_whole = [&](uint32_t min_count, const std::string& when) {
    Engine engine(dir.path(), &unsynced);
    Table* t = engine.Open("T");
    ASSERT_NE(t, nullptr) << when;
    ASSERT_GE(t->RecCount(), min_count) << when;
    ASSERT_LE(t->RecCount(), 256u) << when;
    for (uint32_t n = 1; n <= 255; ++n) {
      ASSERT_EQ(t->Go(n), Table::kOnRecord) << when;
      ASSERT_EQ(t->Text(0), (std::to_string(n) + "    ").substr(0, 4)) << when;
    }
  };
  int64_t total = -1;
  for (int64_t budget = -1; budget <= total; ++budget) {
    const std::string when = "writes fail after " + std::to_string(budget) + " bytes";
    std::filesystem::copy_file(pristine.File("T.dbf"), dir.File("T.dbf"),
                               std::filesystem::copy_options::overwrite_existing);
    FaultyFileSystem faulty(&unsynced);
    {
      Engine engine(dir.path(), &faulty);
      Table* t = engine.Open("T");
      ASSERT_NE(t, nullptr);
      faulty.set_write_budget(budget);
      t->AppendBlank();
    }
    if (budget < 0) {
      total = faulty.bytes_written();
      expect_whole(256, when);
    } else {
      expect_whole(255, when);
    }
  }
}

TEST_F(CrashSafetyTest, FailedRenameDuringPackKeepsTheOldTable) {
  Restore();
  FaultyFileSystem faulty(&unsynced_);
  {
    Engine engine(dir_.path(), &faulty);
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr);
    faulty.set_fail_renames(true);
    EXPECT_FALSE(t->Pack().ok());
    EXPECT_EQ(t->RecCount(), 15u);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("EXP5.dbf.new")));
  ExpectOldOrNew({"pack with failing renames", nullptr, [](const Records& b) { return b; }},
                 "after");
}

}  // namespace
}  // namespace kpr::testing
