// The tags of a table stay equal to a sort of its live records through
// every kind of change, on the installed EXP5 table with its two tags
// EDate (DTOS(EXPDATE) + STR(ACCNO,4)) and EAcc (STR(ACCNO,4) + DTOS(EXPDATE)).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "store/engine.h"
#include "store/ntx_index.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

using Order = std::vector<uint32_t>;

// What the test believes record n holds.
struct Expense {
  std::string date;  // yyyymmdd or 8 blanks
  int acc = 0;
  bool deleted = false;
};

std::string Acc4(int64_t acc) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%4lld", static_cast<long long>(acc));
  return buf;
}

class TagUpkeepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeInstalledDataDir(dir_.path()).ok());
    Open();
  }

  void Open() {
    t_ = engine_.Open("EXP5");
    ASSERT_NE(t_, nullptr) << engine_.error_message();
    date_ = t_->FieldIndex("ExpDate");
    acc_ = t_->FieldIndex("AccNo");
    edate_ = t_->FindTag("EDate");
    eacc_ = t_->FindTag("EAcc");
    ASSERT_TRUE(edate_ != nullptr && eacc_ != nullptr);
  }

  void Reopen() {
    ASSERT_TRUE(engine_.Close(t_).ok()) << engine_.error_message();
    Open();
  }

  std::string RandomDate() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", 1998 + static_cast<int>(rng_() % 30),
                  1 + static_cast<int>(rng_() % 12), 1 + static_cast<int>(rng_() % 28));
    return buf;
  }

  // Sets record n (current) to e and remembers it.
  void Put(uint32_t n, const Expense& e) {
    ASSERT_TRUE(t_->SetText(date_, e.date).ok());
    ASSERT_TRUE(t_->SetLong(acc_, e.acc).ok());
    if (e.deleted != t_->Deleted()) {
      ASSERT_TRUE((e.deleted ? t_->Delete() : t_->Recall()).ok());
    }
    if (model_.size() < n) model_.resize(n);
    model_[n - 1] = e;
  }

  void Append(const Expense& e) {
    ASSERT_TRUE(t_->AppendBlank().ok());
    Put(t_->RecNo(), e);
  }

  // The table holds what the test put there, and each tag walks as a sort
  // of the live records by its key and record number.
  void ExpectTagsMatchRecords() {
    ASSERT_EQ(t_->RecCount(), model_.size());
    std::vector<std::pair<std::string, uint32_t>> by_date, by_acc;
    for (uint32_t n = 1; n <= model_.size(); ++n) {
      ASSERT_EQ(t_->Go(n), Table::kOnRecord);
      const Expense& e = model_[n - 1];
      ASSERT_EQ(t_->Text(date_), e.date) << "record " << n;
      ASSERT_EQ(t_->Long(acc_), e.acc) << "record " << n;
      ASSERT_EQ(t_->Deleted(), e.deleted) << "record " << n;
      if (e.deleted) continue;
      by_date.push_back({e.date + Acc4(e.acc), n});
      by_acc.push_back({Acc4(e.acc) + e.date, n});
    }
    for (auto [tag, items] : {std::pair{edate_, &by_date}, std::pair{eacc_, &by_acc}}) {
      std::sort(items->begin(), items->end());
      Order expected;
      for (const auto& item : *items) expected.push_back(item.second);
      ASSERT_EQ(Walk(t_, tag), expected) << tag->def.name;
      // The same order read from the index alone.
      t_->SelectTag(tag);
      std::vector<uint32_t> from_index;
      ASSERT_TRUE(t_->OrderedRecNos(&from_index).ok());
      ASSERT_EQ(from_index, expected) << tag->def.name;
    }
    t_->SelectTag(nullptr);
    std::vector<uint32_t> none;
    EXPECT_FALSE(t_->OrderedRecNos(&none).ok());
  }

  TempDir dir_;
  Engine engine_{dir_.path()};
  Table* t_ = nullptr;
  int date_ = -1, acc_ = -1;
  Tag* edate_ = nullptr;
  Tag* eacc_ = nullptr;
  std::vector<Expense> model_;
  std::mt19937 rng_{20240611};
};

TEST_F(TagUpkeepTest, ChangingAccNoWhileWalkingInRecordOrderKeepsBothTagsRight) {
  for (int i = 0; i < 60; ++i)
    Append({RandomDate(), 1 + static_cast<int>(rng_() % 20), i % 7 == 3});
  Reopen();
  t_->SelectTag(nullptr);
  for (int r = t_->Top(); r == Table::kOnRecord; r = t_->Skip(1)) {
    Expense e = model_[t_->RecNo() - 1];
    e.acc = 100 - e.acc;
    Put(t_->RecNo(), e);
  }
  ExpectTagsMatchRecords();
  Reopen();
  ExpectTagsMatchRecords();
}

TEST_F(TagUpkeepTest, ChangingTheKeyWhileWalkingInTagOrderMovesTheRecord) {
  for (int i = 0; i < 10; ++i) Append({"20240101", 10 + i, false});
  t_->SelectTag(eacc_);
  ASSERT_EQ(t_->Seek("  12"), Table::kOnRecord);
  const uint32_t moved = t_->RecNo();
  Put(moved, {"20240101", 99, false});
  // The walk goes on from the record's new place, the end of the tag.
  EXPECT_EQ(t_->Skip(1), Table::kEndOfFile);
  EXPECT_EQ(t_->Skip(-1), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), moved);
  EXPECT_EQ(t_->Skip(-1), Table::kOnRecord);
  EXPECT_EQ(t_->Long(acc_), 19);
  ExpectTagsMatchRecords();
}

TEST_F(TagUpkeepTest, RandomChangesKeepEveryTagEqualToASortOfTheLiveRecords) {
  const size_t notes_before = engine_.notes().size();
  for (int step = 0; step < 3000; ++step) {
    SCOPED_TRACE("step " + std::to_string(step));
    const int op = static_cast<int>(rng_() % 100);
    const uint32_t count = t_->RecCount();
    const uint32_t n = count == 0 ? 0 : 1 + static_cast<uint32_t>(rng_() % count);
    if (op < 30 || n == 0) {
      Append({RandomDate(), static_cast<int>(rng_() % 50) - 5, false});
    } else if (op < 55) {  // a key field changed in place
      ASSERT_EQ(t_->Go(n), Table::kOnRecord);
      Expense e = model_[n - 1];
      if (rng_() % 2) e.acc = static_cast<int>(rng_() % 50);
      if (rng_() % 2) e.date = rng_() % 10 ? RandomDate() : "        ";
      Put(n, e);
    } else if (op < 68) {
      ASSERT_EQ(t_->Go(n), Table::kOnRecord);
      Put(n, {model_[n - 1].date, model_[n - 1].acc, true});
    } else if (op < 78) {
      ASSERT_EQ(t_->Go(n), Table::kOnRecord);
      Put(n, {model_[n - 1].date, model_[n - 1].acc, false});
    } else if (op < 90) {  // found through a tag, then changed
      Tag* tag = rng_() % 2 ? edate_ : eacc_;
      t_->SelectTag(tag);
      const std::string key = tag == edate_ ? RandomDate().substr(0, 6) : Acc4(rng_() % 50);
      if (t_->Seek(key) != Table::kEndOfFile) {
        const uint32_t found = t_->RecNo();
        Put(found, {RandomDate(), model_[found - 1].acc + 1, rng_() % 4 == 0});
        t_->Skip(rng_() % 2 ? 1 : -1);
      }
      t_->SelectTag(nullptr);
    } else if (op < 93) {  // a change taken back before it is written
      ASSERT_EQ(t_->Go(n), Table::kOnRecord);
      const std::string before = t_->image();
      ASSERT_TRUE(t_->SetLong(acc_, 4321).ok());
      t_->RestoreImage(before);
    } else if (op < 98) {
      Reopen();
    } else {
      ASSERT_TRUE(t_->Pack().ok());
      std::erase_if(model_, [](const Expense& e) { return e.deleted; });
      ExpectTagsMatchRecords();
    }
    if (step % 100 == 99) ExpectTagsMatchRecords();
    if (HasFatalFailure()) return;
  }
  ExpectTagsMatchRecords();
  ASSERT_TRUE(engine_.Close(t_).ok());

  // Closed cleanly: the stamp matches the table and the indexes, so the
  // next open trusts the tags instead of rebuilding them.
  const std::string dbf = dir_.File("EXP5.dbf");
  GroupFile g;
  ASSERT_TRUE(GroupFile::Read(FileSystem::Default(), dir_.File("exp5.cgp"), &g).ok());
  EXPECT_FALSE(g.open_for_writing);
  EXPECT_EQ(g.table_size, ReadFileBytes(dbf).size());
  int64_t mtime = 0;
  ASSERT_TRUE(FileSystem::Default()->ModTime(dbf, &mtime).ok());
  EXPECT_EQ(g.table_mtime, mtime);
  ASSERT_EQ(g.tags.size(), 2u);
  for (const TagDef& d : g.tags) {
    std::unique_ptr<NtxIndex> index;
    ASSERT_TRUE(NtxIndex::Open(FileSystem::Default(), dir_.File(d.file), false, &index).ok());
    EXPECT_EQ(index->version(), d.version) << d.file;
  }
  Open();
  ExpectTagsMatchRecords();
  for (size_t i = notes_before; i < engine_.notes().size(); ++i) {
    EXPECT_EQ(engine_.notes()[i].find("rebuilt"), std::string::npos) << engine_.notes()[i];
  }
}

}  // namespace
}  // namespace kpr::testing
