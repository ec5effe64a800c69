// An index that cannot be trusted is rebuilt when the table is opened: one
// that is missing, cut short, damaged, older than its table, or whose table
// another program changed. A damaged group file never crashes the engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/data_store.h"
#include "store/engine.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

class IndexTrustTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pristine_ = new TempDir;
    ASSERT_TRUE(MakeInstalledDataDir(pristine_->path()).ok());
    FillExp5(pristine_->path(), 400, 11);
  }
  static void TearDownTestSuite() {
    delete pristine_;
    pristine_ = nullptr;
  }
  void SetUp() override {
    std::filesystem::create_directory(work_);
    CopyDirFiles(pristine_->path(), work_);
  }

  // Puts the filled data directory back as it was.
  void Restore() {
    for (const auto& e : std::filesystem::directory_iterator(work_)) {
      std::filesystem::remove(e.path());
    }
    CopyDirFiles(pristine_->path(), work_);
  }

  std::string File(const std::string& name) const { return work_ + "/" + name; }

  // Opens EXP5 and expects its tags rebuilt (rebuilt false: trusted as
  // they are) and walking right.
  void ExpectTagsRight(bool rebuilt, const std::string& what) {
    SCOPED_TRACE(what);
    Engine engine(work_);
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr) << engine.error_message();
    bool saw_rebuild = false;
    for (const auto& note : engine.notes())
      saw_rebuild |= note.find("rebuilt") != std::string::npos;
    EXPECT_EQ(saw_rebuild, rebuilt);
    EXPECT_EQ(t->index_problem(), "");
    ExpectExp5TagsRight(t);
  }

  static TempDir* pristine_;
  TempDir root_;
  const std::string work_ = root_.File("data");  // the data directory
};

TempDir* IndexTrustTest::pristine_ = nullptr;

TEST_F(IndexTrustTest, IndexesOfACleanlyClosedTableAreTrusted) {
  ExpectTagsRight(false, "untouched");
  ExpectTagsRight(false, "opened and closed once more");
}

TEST_F(IndexTrustTest, MissingIndexIsRebuilt) {
  for (const char* name : {"EDate.ntx", "EAcc.ntx"}) {
    Restore();
    std::filesystem::remove(File(name));
    ExpectTagsRight(true, name);
    EXPECT_TRUE(std::filesystem::exists(File(name)));
  }
}

TEST_F(IndexTrustTest, TruncatedIndexIsRebuilt) {
  const uint64_t size = std::filesystem::file_size(File("EAcc.ntx"));
  ASSERT_GT(size, 4096u);  // a tree of several pages
  for (uint64_t cut : {uint64_t{0}, uint64_t{100}, uint64_t{1024}, uint64_t{2048}, size / 2,
                       size - 1024, size - 1}) {
    Restore();
    TruncateFile(File("EAcc.ntx"), cut);
    ExpectTagsRight(true, "cut to " + std::to_string(cut) + " bytes");
  }
}

TEST_F(IndexTrustTest, IndexDamagedByAnotherProgramIsRebuilt) {
  const uint64_t size = std::filesystem::file_size(File("EDate.ntx"));
  const struct {
    const char* what;
    uint64_t offset;
  } cases[] = {
      {"version", 2},
      {"root page", 5},
      {"key size", 14},
      {"key expression", 24},
      {"item count of page 1", 1024},
      {"slot table of page 1", 1026},
      {"record number in page 1", 1024 + 2 + 2 * 45 + 4},
      {"key byte in page 2", 2048 + 2 + 2 * 45 + 8 + 3},
      {"last byte", size - 1},
  };
  for (const auto& c : cases) {
    Restore();
    std::string byte = ReadFileBytes(File("EDate.ntx")).substr(c.offset, 1);
    byte[0] = static_cast<char>(byte[0] ^ 0x21);
    PatchFile(File("EDate.ntx"), c.offset, byte);
    TouchLater(File("EDate.ntx"));
    ExpectTagsRight(true, c.what);
  }
}

TEST_F(IndexTrustTest, IndexFromAnEarlierStateIsRebuilt) {
  const std::string old_index = ReadFileBytes(File("EAcc.ntx"));
  {
    Engine engine(work_);
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Go(10), Table::kOnRecord);
    ASSERT_TRUE(t->SetLong(t->FieldIndex("AccNo"), 999).ok());
  }
  WriteFileBytes(File("EAcc.ntx"), old_index);
  ExpectTagsRight(true, "EAcc.ntx put back");
}

TEST_F(IndexTrustTest, TableChangedByPerlXBaseIsReindexed) {
  std::string why;
  if (!HavePerlXBase(&why)) GTEST_SKIP() << why;
  const char* script = R"(
use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
$t->update_record_hash(4, 'ACCNO' => 39, 'EXPDATE' => '19990101') or die $t->errstr;
$t->update_record_hash(200, 'ACCNO' => 1) or die $t->errstr;
$t->delete_record(201) or die $t->errstr;
$t->close;
)";
  CommandResult r = RunCommand("perl -e " + Quote(script) + " " + Quote(File("EXP5.dbf")));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  ExpectTagsRight(true, "edited by XBase");
}

TEST_F(IndexTrustTest, TableAppendedToByPythonIsReindexed) {
  std::string why;
  if (!HavePythonDbfread(&why)) GTEST_SKIP() << why;
  // Appends a copy of record 3 with another date, as a plain program would.
  const char* script = R"(
import struct, sys
with open(sys.argv[1], 'r+b') as f:
    head = f.read(12)
    count, = struct.unpack('<I', head[4:8])
    hlen, rlen = struct.unpack('<HH', head[8:12])
    f.seek(hlen + 2 * rlen)
    rec = bytearray(f.read(rlen))
    rec[1:9] = b'19900101'
    f.seek(hlen + count * rlen)
    f.write(bytes(rec) + b'\x1a')
    f.seek(4)
    f.write(struct.pack('<I', count + 1))
)";
  CommandResult r =
      RunCommand("/usr/bin/python3 -c " + Quote(script) + " " + Quote(File("EXP5.dbf")));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  ExpectTagsRight(true, "appended by Python");
}

TEST_F(IndexTrustTest, TableBytesChangedInPlaceAreNoticed) {
  const std::string dbf = File("EXP5.dbf");
  const std::string bytes = ReadFileBytes(dbf);
  const uint32_t header_length =
      static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  const uint32_t record_length =
      static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
  auto record = [&](uint32_t n) { return header_length + (n - 1) * record_length; };
  const struct {
    const char* what;
    uint64_t offset;
    std::string bytes;
  } cases[] = {
      {"a record marked deleted", record(1), "*"},
      {"a deleted record recalled", record(7), " "},
      {"a date changed", record(2) + 1, "18991231"},
      {"an account changed", record(3) + 1 + 8 + 8, "9876"},
  };
  for (const auto& c : cases) {
    Restore();
    PatchFile(dbf, c.offset, c.bytes);
    TouchLater(dbf);
    ExpectTagsRight(true, c.what);
  }
}

TEST_F(IndexTrustTest, TableCutShortByAnotherProgramIsReindexed) {
  const std::string dbf = File("EXP5.dbf");
  const std::string bytes = ReadFileBytes(dbf);
  const uint32_t record_length =
      static_cast<unsigned char>(bytes[10]) | static_cast<unsigned char>(bytes[11]) << 8;
  const struct {
    const char* what;
    std::string count;  // what the header says afterwards
  } cases[] = {
      {"last three records removed, count set to 397", std::string("\x8D\x01\0\0", 4)},
      {"last three records cut off, count left at 400", std::string("\x90\x01\0\0", 4)},
  };
  for (const auto& c : cases) {
    Restore();
    TruncateFile(dbf, bytes.size() - 1 - 3 * record_length);
    PatchFile(dbf, 4, c.count);
    ExpectTagsRight(true, c.what);
    Engine engine(work_);
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->RecCount(), 397u);
  }
}

// Group files damaged in ways that a checksum catches, and in ways it does
// not (a well-formed file with nonsense in it).
TEST_F(IndexTrustTest, DamagedGroupFileNeverCrashesAndTheProgramRecreatesIt) {
  const std::string cgp = File("exp5.cgp");
  const std::string good = ReadFileBytes(cgp);
  GroupFile parsed;
  ASSERT_TRUE(GroupFile::Decode(cgp, good, &parsed).ok());
  auto with = [&](auto change) {
    GroupFile g = parsed;
    change(&g);
    return g.Encode();
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"garbage", std::string(300, '\xA5')},
      {"cut in half", good.substr(0, good.size() / 2)},
      {"one byte flipped", good.substr(0, 40) + static_cast<char>(good[40] ^ 1) + good.substr(41)},
      {"longer than it says", good + "tail"},
      {"unknown field", with([](GroupFile* g) { g->tags[0].expression = "STR(NOSUCH,4)"; })},
      {"bad filter", with([](GroupFile* g) { g->tags[1].filter = "AMOUNT > 5"; })},
      {"empty expression", with([](GroupFile* g) { g->tags[0].expression = ""; })},
      {"no tags", with([](GroupFile* g) { g->tags.clear(); })},
      {"index file outside the directory",
       with([&](GroupFile* g) { g->tags[0].file = File("victim.txt"); })},
      {"index file up a directory", with([](GroupFile* g) { g->tags[1].file = "../victim.txt"; })},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Restore();
    WriteFileBytes(File("victim.txt"), "precious");
    WriteFileBytes(root_.File("victim.txt"), "precious");
    WriteFileBytes(cgp, c.bytes);
    {
      Engine engine(work_);
      Table* t = engine.Open("EXP5");
      ASSERT_NE(t, nullptr) << engine.error_message();
      EXPECT_EQ(Walk(t, nullptr).size(), 400u);
      for (const auto& tag : t->tags()) {
        Walk(t, tag.get());  // whatever tags it kept can be walked
      }
    }
    EXPECT_EQ(ReadFileBytes(File("victim.txt")), "precious");
    EXPECT_EQ(ReadFileBytes(root_.File("victim.txt")), "precious");

    ScriptedUi ui;
    DataStore store(work_, &ui);
    store.engine().set_exit_handler([](const std::string& m) { throw std::runtime_error(m); });
    ASSERT_NO_THROW(store.OpenExpenses());
    ExpectExp5TagsRight(store.exp5);
    store.CloseAll();
  }
}

}  // namespace
}  // namespace kpr::testing
