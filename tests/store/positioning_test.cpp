// The results of Top, Bottom, Skip, Go and Seek, in record order and in the
// order of a tag, and where each leaves the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

using Order = std::vector<uint32_t>;

class PositioningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        MakeTable(dir_.File("POS.dbf"), {Field("CODE", 'C', 6), Field("NUM", 'N', 4)}).ok());
    t_ = engine_.Open("POS");
    ASSERT_NE(t_, nullptr) << engine_.error_message();
    ASSERT_TRUE(t_->CreateIndex("POS", {LiveTag("CodeTag", "CODE")}, false).ok());
    tag_ = t_->FindTag("codetag");
    ASSERT_NE(tag_, nullptr);
  }

  // Records 1..6: DOG ABLE CAT BEE(deleted) EEL CAT.
  void Fill() {
    const char* codes[] = {"DOG", "ABLE", "CAT", "BEE", "EEL", "CAT"};
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(t_->AppendBlank().ok());
      ASSERT_TRUE(t_->SetText(0, codes[i]).ok());
      ASSERT_TRUE(t_->SetLong(1, i + 1).ok());
      if (i == 3) {
        ASSERT_TRUE(t_->Delete().ok());
      }
    }
    ASSERT_TRUE(t_->Flush().ok());
  }

  TempDir dir_;
  Engine engine_{dir_.path()};
  Table* t_ = nullptr;
  Tag* tag_ = nullptr;
};

TEST_F(PositioningTest, TopAndBottomOfAnEmptyTableAreEndOfFile) {
  for (Tag* order : {static_cast<Tag*>(nullptr), tag_}) {
    t_->SelectTag(order);
    EXPECT_EQ(t_->Top(), Table::kEndOfFile);
    EXPECT_TRUE(t_->Eof());
    EXPECT_EQ(t_->RecNo(), 1u);
    EXPECT_EQ(t_->Bottom(), Table::kEndOfFile);
    EXPECT_TRUE(t_->Eof());
    EXPECT_EQ(t_->Skip(1), Table::kEndOfFile);
    EXPECT_EQ(t_->Skip(-1), Table::kEndOfFile);
  }
  t_->SelectTag(tag_);
  EXPECT_EQ(t_->Seek("A"), Table::kEndOfFile);
}

TEST_F(PositioningTest, RecordOrderHasEveryRecordAndTagOrderOnlyLiveOnes) {
  Fill();
  EXPECT_EQ(Walk(t_, nullptr), (Order{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Walk(t_, tag_), (Order{2, 3, 6, 1, 5}));
  ASSERT_EQ(t_->Go(4), Table::kOnRecord);
  EXPECT_TRUE(t_->Deleted());
  EXPECT_EQ(t_->Text(0), "BEE   ");
}

TEST_F(PositioningTest, SeekReportsExactNotExactAndEndOfFile) {
  Fill();
  t_->SelectTag(tag_);
  const struct {
    const char* key;
    int result;
    uint32_t recno;  // where the table stands afterwards (7: end of file)
  } cases[] = {
      {"CAT", Table::kOnRecord, 3},       // first of two equal keys
      {"CAT   ", Table::kOnRecord, 3},    // the whole key
      {"CA", Table::kOnRecord, 3},        // shorter than the key
      {"A", Table::kOnRecord, 2},
      {"", Table::kOnRecord, 2},
      {"BEE", Table::kNotExact, 3},       // deleted, so not in the tag: on the next key
      {"B", Table::kNotExact, 3},
      {"DOGS", Table::kNotExact, 5},
      {"CATCATCAT", Table::kNotExact, 1},  // cut to the key's six bytes
      {"EEL", Table::kOnRecord, 5},
      {"EEM", Table::kEndOfFile, 7},
      {"ZZZ", Table::kEndOfFile, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(t_->Seek(c.key), c.result) << "'" << c.key << "'";
    EXPECT_EQ(t_->RecNo(), c.recno) << "'" << c.key << "'";
    EXPECT_EQ(t_->Eof(), c.result == Table::kEndOfFile) << "'" << c.key << "'";
  }
}

TEST_F(PositioningTest, SkippingPastEitherEndReportsEndOfFile) {
  Fill();
  for (Tag* order : {static_cast<Tag*>(nullptr), tag_}) {
    t_->SelectTag(order);
    const uint32_t first = order ? 2 : 1, last = order ? 5 : 6;
    ASSERT_EQ(t_->Bottom(), Table::kOnRecord);
    EXPECT_EQ(t_->RecNo(), last);
    EXPECT_EQ(t_->Skip(1), Table::kEndOfFile);
    EXPECT_TRUE(t_->Eof());
    EXPECT_EQ(t_->RecNo(), 7u);
    EXPECT_EQ(t_->Skip(1), Table::kEndOfFile);
    EXPECT_EQ(t_->Skip(-1), Table::kOnRecord);  // back from end of file: the last record
    EXPECT_EQ(t_->RecNo(), last);

    ASSERT_EQ(t_->Top(), Table::kOnRecord);
    EXPECT_EQ(t_->Skip(-1), Table::kEndOfFile);
    EXPECT_TRUE(t_->Bof());
    EXPECT_FALSE(t_->Eof());
    EXPECT_EQ(t_->RecNo(), first);  // stays on the first record
    EXPECT_EQ(t_->Skip(1), Table::kOnRecord);
    EXPECT_FALSE(t_->Bof());

    ASSERT_EQ(t_->Top(), Table::kOnRecord);
    EXPECT_EQ(t_->Skip(100), Table::kEndOfFile);
    EXPECT_TRUE(t_->Eof());
  }
}

TEST_F(PositioningTest, SkipTakesSeveralStepsInTheSelectedOrder) {
  Fill();
  t_->SelectTag(tag_);
  ASSERT_EQ(t_->Top(), Table::kOnRecord);
  EXPECT_EQ(t_->Skip(2), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), 6u);
  EXPECT_EQ(t_->Skip(-2), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), 2u);
  EXPECT_EQ(t_->Skip(0), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), 2u);
}

TEST_F(PositioningTest, SkipFromARecordOutsideTheTagGoesToItsNeighbours) {
  Fill();
  t_->SelectTag(tag_);
  ASSERT_EQ(t_->Go(4), Table::kOnRecord);  // BEE, deleted: between ABLE and CAT
  EXPECT_EQ(t_->Skip(1), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), 3u);
  ASSERT_EQ(t_->Go(4), Table::kOnRecord);
  EXPECT_EQ(t_->Skip(-1), Table::kOnRecord);
  EXPECT_EQ(t_->RecNo(), 2u);
}

TEST_F(PositioningTest, GoOutsideTheTableIsEndOfFile) {
  Fill();
  EXPECT_EQ(t_->Go(0), Table::kEndOfFile);
  EXPECT_EQ(t_->Go(7), Table::kEndOfFile);
  EXPECT_TRUE(t_->Eof());
  EXPECT_EQ(t_->Go(6), Table::kOnRecord);
  EXPECT_EQ(t_->Text(0), "CAT   ");
}

TEST_F(PositioningTest, SeekWithoutATagIsAnError) {
  Fill();
  t_->SelectTag(nullptr);
  engine_.ClearError();
  EXPECT_EQ(t_->Seek("CAT"), Table::kEndOfFile);
  EXPECT_LT(engine_.ErrorCode(), 0);
  EXPECT_NE(engine_.error_message().find("POS.dbf"), std::string::npos);
}

}  // namespace
}  // namespace kpr::testing
