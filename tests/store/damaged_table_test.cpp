// Damaged and cut-short table files give a clear error naming the file, or
// open with what they still hold; none of them crashes the engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

constexpr uint32_t kHeaderLength = 32 + 3 * 32 + 1;  // three fields
constexpr uint32_t kRecordLength = 1 + 6 + 5 + 8;
constexpr uint32_t kRecords = 5;

class DamagedTableTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new TempDir;
    const std::string dir = pristine_->path();
    ASSERT_TRUE(MakeTable(pristine_->File("BAD.dbf"),
                          {Field("CODE", 'C', 6), Field("AMT", 'N', 5, 1), Field("WHEN", 'D', 8)})
                    .ok());
    Engine engine(dir);
    Table* t = engine.Open("BAD");
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(
        t->CreateIndex("BAD", {LiveTag("ByCode", "CODE"), LiveTag("ByAmt", "STR(AMT,5,1)")}, false)
            .ok());
    for (uint32_t i = 0; i < kRecords; ++i) {
      ASSERT_TRUE(t->AppendBlank().ok());
      ASSERT_TRUE(t->SetText(0, "C" + std::to_string(7 - i)).ok());
      ASSERT_TRUE(t->SetDouble(1, i * 2.5).ok());
      ASSERT_TRUE(t->SetText(2, "2024010" + std::to_string(i + 1)).ok());
    }
    ASSERT_TRUE(engine.Close(t).ok());
    ASSERT_EQ(std::filesystem::file_size(pristine_->File("BAD.dbf")),
              kHeaderLength + kRecords * kRecordLength + 1);
  }
  static void TearDownTestSuite() {
    delete pristine_;
    pristine_ = nullptr;
  }

  void SetUp() override { Restore(); }
  void Restore() { CopyDirFiles(pristine_->path(), dir_.path()); }
  std::string Dbf() const { return dir_.File("BAD.dbf"); }
  std::string Original() const { return ReadFileBytes(pristine_->File("BAD.dbf")); }

  // Opens the table and uses it every way a reader does. Returns false when
  // the open failed, after checking the error names the file.
  bool OpenAndUse(FileSystem* fs, const std::string& what) {
    Engine engine(dir_.path(), fs);
    Table* t = engine.Open("BAD");
    if (t == nullptr) {
      EXPECT_EQ(engine.error_code(), Engine::kErrorOpen) << what;
      EXPECT_NE(engine.error_message().find("BAD.dbf"), std::string::npos)
          << what << ": " << engine.error_message();
      return false;
    }
    std::vector<Tag*> orders = {nullptr};
    for (const auto& tag : t->tags()) orders.push_back(tag.get());
    for (Tag* order : orders) {
      t->SelectTag(order);
      for (int r = t->Top(), steps = 0; r == Table::kOnRecord && steps < 100;
           r = t->Skip(1), ++steps) {
        for (int f = 0; f < static_cast<int>(t->fields().size()); ++f) {
          t->Text(f);
          t->Double(f);
          t->Long(f);
          t->True(f);
        }
      }
      t->Bottom();
      t->Skip(-1);
      if (order != nullptr) t->Seek("C5");
    }
    t->SelectTag(nullptr);
    if (t->Go(1) == Table::kOnRecord && !t->fields().empty()) {
      t->SetText(0, "Z");
    }
    t->AppendBlank();
    engine.CloseAll();
    return true;
  }

  static TempDir* pristine_;
  TempDir dir_;
};

TempDir* DamagedTableTest::pristine_ = nullptr;

TEST_F(DamagedTableTest, DamagedHeaderIsRefusedNamingTheFileAndTheFault) {
  const struct {
    const char* what;
    uint64_t offset;
    std::string bytes;
    const char* fault;
  } cases[] = {
      {"unknown version", 0, std::string(1, '\x00'), "unknown version byte"},
      {"header length zero", 8, std::string(2, '\0'), "bad header or record length"},
      {"record length one", 10, std::string("\x01\x00", 2), "bad header or record length"},
      {"record length short of the fields", 10, std::string("\x10\x00", 2), "record length 16"},
      {"terminator overwritten", kHeaderLength - 1, " ", "field list runs past the header"},
      {"header length without the terminator", 8, std::string("\x80\x00", 2),
       "no end of field list"},
      {"field without a name", 32, std::string(11, '\0'), "field 1 has no name or width"},
      {"field without a width", 64 + 16, std::string(1, '\0'), "field 2 has no name or width"},
      {"header longer than the file", 8, std::string("\xF0\xFF", 2), "file ends early"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Restore();
    PatchFile(Dbf(), c.offset, c.bytes);
    Engine engine(dir_.path());
    EXPECT_EQ(engine.Open("BAD"), nullptr);
    EXPECT_EQ(engine.ErrorCode(), Engine::kErrorOpen);
    EXPECT_NE(engine.error_message().find(Dbf()), std::string::npos) << engine.error_message();
    EXPECT_NE(engine.error_message().find(c.fault), std::string::npos) << engine.error_message();
  }
}

TEST_F(DamagedTableTest, TableCutAtAnyLengthFailsClearlyOrKeepsItsWholeRecords) {
  const std::string original = Original();
  for (uint64_t length = 0; length < original.size(); ++length) {
    SCOPED_TRACE("cut to " + std::to_string(length) + " bytes");
    Restore();
    TruncateFile(Dbf(), length);
    Engine engine(dir_.path());
    Table* t = engine.Open("BAD");
    if (length < kHeaderLength) {
      EXPECT_EQ(t, nullptr);
      EXPECT_EQ(engine.ErrorCode(), Engine::kErrorOpen);
      EXPECT_NE(engine.error_message().find(Dbf()), std::string::npos) << engine.error_message();
      continue;
    }
    ASSERT_NE(t, nullptr) << engine.error_message();
    const uint32_t whole = static_cast<uint32_t>((length - kHeaderLength) / kRecordLength);
    EXPECT_EQ(t->RecCount(), whole);
    EXPECT_EQ(Walk(t, nullptr).size(), whole);
    // The tags hold the records left, no more.
    EXPECT_EQ(Walk(t, t->FindTag("ByCode")),
              SortedLive(t, [](Table* table) { return table->Text(0); }));
    if (whole < kRecords) {
      EXPECT_NE(t->dbf()->warning().find("using " + std::to_string(whole)), std::string::npos);
    }
  }
}

// Every byte of the header set to a handful of values: the table either
// refuses to open with a message naming it, or opens and can be read,
// walked in every order, changed and closed.
TEST_F(DamagedTableTest, FuzzedHeaderNeverCrashes) {
  UnsyncedFileSystem fs;
  const std::string original = Original();
  int opened = 0, refused = 0;
  for (uint32_t pos = 0; pos < kHeaderLength; ++pos) {
    const char was = original[pos];
    for (char value : {'\x00', '\xFF', ' ', '\x0D', 'N', static_cast<char>(was ^ 0x01),
                       static_cast<char>(was ^ 0x80)}) {
      if (value == was) continue;
      Restore();
      PatchFile(Dbf(), pos, std::string(1, value));
      TouchLater(Dbf());
      const bool ok = OpenAndUse(&fs, "byte " + std::to_string(pos) + " set to " +
                                          std::to_string(static_cast<unsigned char>(value)));
      (ok ? opened : refused)++;
      if (HasFatalFailure()) return;
    }
  }
  // Both outcomes occur; which bytes are harmless is not this test's matter.
  EXPECT_GT(opened, 0);
  EXPECT_GT(refused, 0);
}

TEST_F(DamagedTableTest, FuzzedRecordsNeverCrash) {
  UnsyncedFileSystem fs;
  const std::string original = Original();
  for (uint64_t pos = kHeaderLength; pos < original.size(); ++pos) {
    for (char value : {'\x00', '\xFF', '*', '-', '.'}) {
      Restore();
      PatchFile(Dbf(), pos, std::string(1, value));
      TouchLater(Dbf());
      EXPECT_TRUE(OpenAndUse(&fs, "record byte " + std::to_string(pos)));
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace kpr::testing
