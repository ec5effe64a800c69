// Tables written by other programs open and read right: byte files made by
// hand in the variants other dBASE programs write, and a table written by
// Perl's XBase.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/dbf_table.h"
#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

struct RawField {
  std::string name;  // stored as given, NUL-padded to 11 bytes
  char type;
  uint8_t width;
  uint8_t decimals;
};

const std::vector<RawField> kFields = {{"acCno", 'N', 4, 0},
                                       {"Desc", 'C', 8, 0},
                                       {"AMT", 'n', 7, 2},
                                       {"ok", 'L', 1, 0},
                                       {"WHEN", 'D', 8, 0}};
// deletion mark, acCno N 4, Desc C 8, AMT N 7 2, ok L, WHEN D
const std::vector<std::string> kRecords = {
    std::string(" ") + "  17" + "Rent    " + "1200.50" + "T" + "20240131",
    std::string("*") + "   3" + "Gone    " + "  -1.00" + "F" + "19990101",
    std::string(" ") + "   5" + "Caf\xE9    " + "  -0.25" + " " + "20000229",
};

struct Layout {
  uint8_t version = 0x03;
  int64_t count = -1;    // header's record count; -1: the number of records
  bool end_byte = true;  // 0x1A after the records
  size_t backlink = 0;   // bytes between the terminator and record 1 (FoxPro: 263)
  uint8_t language = 0;  // byte 29
};

std::string DbfBytes(const Layout& l, const std::vector<RawField>& fields,
                     const std::vector<std::string>& records) {
  size_t record_length = 1;
  for (const auto& f : fields) record_length += f.width;
  const size_t header_length = 32 + 32 * fields.size() + 1 + l.backlink;
  const uint32_t count =
      l.count < 0 ? static_cast<uint32_t>(records.size()) : static_cast<uint32_t>(l.count);
  std::string h(32, '\0');
  h[0] = static_cast<char>(l.version);
  h[1] = 124, h[2] = 5, h[3] = 17;
  for (int i = 0; i < 4; ++i) h[4 + i] = static_cast<char>(count >> (8 * i));
  h[8] = static_cast<char>(header_length & 0xFF), h[9] = static_cast<char>(header_length >> 8);
  h[10] = static_cast<char>(record_length & 0xFF), h[11] = static_cast<char>(record_length >> 8);
  h[29] = static_cast<char>(l.language);
  for (const auto& f : fields) {
    std::string d(32, '\0');
    d.replace(0, f.name.size(), f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.width);
    d[17] = static_cast<char>(f.decimals);
    h += d;
  }
  h.push_back('\x0D');
  h.append(l.backlink, '\0');
  for (const auto& r : records) h += r;
  if (l.end_byte) h.push_back('\x1A');
  return h;
}

class ForeignTablesTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const Layout& l,
                    const std::vector<std::string>& records = kRecords) {
    const std::string path = dir_.File(name);
    WriteFileBytes(path, DbfBytes(l, kFields, records));
    return path;
  }

  // Opens through the engine and checks the three records read right.
  void ExpectTheRecords(const std::string& name, uint32_t count = 3) {
    Engine engine(dir_.path());
    Table* t = engine.Open(name);
    ASSERT_NE(t, nullptr) << engine.error_message();
    ASSERT_EQ(t->RecCount(), count);
    const int acc = t->FieldIndex("ACCNO"), desc = t->FieldIndex("desc"),
              amt = t->FieldIndex("Amt"), ok = t->FieldIndex("OK"), when = t->FieldIndex("when");
    ASSERT_TRUE(acc >= 0 && desc >= 0 && amt >= 0 && ok >= 0 && when >= 0);
    EXPECT_EQ(t->fields()[static_cast<size_t>(amt)].type, 'N');
    ASSERT_EQ(t->Top(), Table::kOnRecord);
    EXPECT_EQ(t->Long(acc), 17);
    EXPECT_EQ(t->Text(desc), "Rent    ");
    EXPECT_EQ(t->Double(amt), 1200.5);
    EXPECT_TRUE(t->True(ok));
    EXPECT_EQ(t->Text(when), "20240131");
    EXPECT_FALSE(t->Deleted());
    ASSERT_EQ(t->Skip(1), Table::kOnRecord);
    EXPECT_TRUE(t->Deleted());
    EXPECT_EQ(t->Double(amt), -1.0);
    EXPECT_FALSE(t->True(ok));
    if (count < 3) return;
    ASSERT_EQ(t->Skip(1), Table::kOnRecord);
    EXPECT_EQ(t->Text(desc), "Café    ");
    EXPECT_EQ(t->Double(amt), -0.25);
    EXPECT_FALSE(t->True(ok));
    EXPECT_EQ(t->Skip(1), Table::kEndOfFile);
  }

  TempDir dir_;
};

TEST_F(ForeignTablesTest, VersionsOfOtherDbaseProgramsOpen) {
  const struct {
    const char* what;
    uint8_t version;
    size_t backlink;
  } cases[] = {{"dBASE III", 0x03, 0},       {"dBASE III with memo", 0x83, 0},
               {"dBASE IV", 0x04, 0},        {"dBASE IV with memo", 0x8B, 0},
               {"dBASE V", 0x05, 0},         {"FoxPro with memo", 0xF5, 0},
               {"Visual FoxPro", 0x30, 263}, {"Visual FoxPro autoincrement", 0x31, 263}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Layout l;
    l.version = c.version;
    l.backlink = c.backlink;
    l.language = 0x03;  // Windows ANSI
    Write("FOREIGN.dbf", l);
    ExpectTheRecords("FOREIGN");
  }
}

TEST_F(ForeignTablesTest, MissingEndOfFileByteIsNoFault) {
  Layout l;
  l.end_byte = false;
  const std::string path = Write("NOEND.dbf", l);
  ExpectTheRecords("noend");
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Open(FileSystem::Default(), path, false, &t).ok());
  EXPECT_EQ(t->warning(), "");
}

TEST_F(ForeignTablesTest, RecordCountDisagreeingWithTheFileUsesTheSmallerAndSaysSo) {
  const struct {
    const char* what;
    int64_t header_count;
    size_t records_in_file;
    std::string tail;  // bytes after the whole records
    uint32_t used;
  } cases[] = {
      {"count larger than the file", 9, 3, "\x1A", 3},
      {"count smaller than the file", 2, 3, "\x1A", 2},
      {"last record cut short", 3, 2, kRecords[2].substr(0, 10), 2},
      {"count zero, records present", 0, 3, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Layout l;
    l.count = c.header_count;
    l.end_byte = false;
    const std::vector<std::string> records(kRecords.begin(),
                                           kRecords.begin() + static_cast<long>(c.records_in_file));
    const std::string path = Write("COUNT.dbf", l, records);
    WriteFileBytes(path, ReadFileBytes(path) + c.tail);

    std::unique_ptr<DbfTable> t;
    Status s = DbfTable::Open(FileSystem::Default(), path, false, &t);
    ASSERT_TRUE(s.ok()) << s.ToString();
    EXPECT_EQ(t->record_count(), c.used);
    const std::string w = t->warning();
    EXPECT_NE(w.find("COUNT.dbf"), std::string::npos) << w;
    EXPECT_NE(w.find("counts " + std::to_string(c.header_count)), std::string::npos) << w;
    EXPECT_NE(w.find("using " + std::to_string(c.used)), std::string::npos) << w;
    t.reset();

    Engine engine(dir_.path());
    Table* table = engine.Open("COUNT");
    ASSERT_NE(table, nullptr) << engine.error_message();
    EXPECT_EQ(Walk(table, nullptr).size(), c.used);
    ASSERT_FALSE(engine.notes().empty());
    const bool mended = c.header_count > static_cast<int64_t>(c.used);
    EXPECT_EQ(engine.notes().front(), mended ? w + " (count corrected)" : w);
    ASSERT_TRUE(engine.CloseAll().ok());
    // A count past the end is mended in the file; records past the count
    // are left for the next append to write over.
    ASSERT_TRUE(DbfTable::Open(FileSystem::Default(), path, false, &t).ok());
    EXPECT_EQ(t->record_count(), c.used);
    EXPECT_EQ(t->warning().empty(), mended || c.records_in_file == c.used);
  }
}

TEST_F(ForeignTablesTest, AppendAfterAShortCountKeepsTheFileReadable) {
  Layout l;
  l.count = 2;
  Write("SHORT.dbf", l);
  {
    Engine engine(dir_.path());
    Table* t = engine.Open("SHORT");
    ASSERT_NE(t, nullptr) << engine.error_message();
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->SetText(t->FieldIndex("desc"), "New").ok());
  }
  Engine engine(dir_.path());
  Table* t = engine.Open("SHORT");
  ASSERT_NE(t, nullptr) << engine.error_message();
  EXPECT_TRUE(t->dbf()->warning().empty()) << t->dbf()->warning();
  ASSERT_EQ(t->RecCount(), 3u);
  ASSERT_EQ(t->Go(3), Table::kOnRecord);
  EXPECT_EQ(t->Text(t->FieldIndex("desc")), "New     ");
}

TEST_F(ForeignTablesTest, PackKeepsTheHeaderOfAForeignTable) {
  Layout l;
  l.version = 0x30;
  l.backlink = 263;
  l.language = 0x03;
  const std::string path = Write("VFP.dbf", l);
  const std::string before = ReadFileBytes(path);
  {
    Engine engine(dir_.path());
    Table* t = engine.Open("VFP");
    ASSERT_NE(t, nullptr) << engine.error_message();
    ASSERT_TRUE(t->Pack().ok());
    EXPECT_EQ(t->RecCount(), 2u);
  }
  const std::string after = ReadFileBytes(path);
  const size_t header_length = 32 + 32 * kFields.size() + 1 + 263;
  ASSERT_EQ(after.size(), header_length + 2 * 29 + 1);
  EXPECT_EQ(after[0], '\x30');
  EXPECT_EQ(after.substr(8, 4), before.substr(8, 4));  // header and record length
  EXPECT_EQ(after.substr(12),
            before.substr(12, header_length - 12) + kRecords[0] + kRecords[2] + "\x1A");
}

TEST_F(ForeignTablesTest, TableWrittenByPerlXBaseReadsAndTakesChanges) {
  std::string why;
  if (!HavePerlXBase(&why)) GTEST_SKIP() << why;
  const std::string path = dir_.File("people.dbf");
  const char* create = R"(
use XBase;
my $t = XBase->create(name => $ARGV[0],
    field_names => ['name', 'amount', 'ratio', 'born', 'ok', 'notes'],
    field_types => ['C', 'N', 'F', 'D', 'L', 'M'],
    field_lengths => [15, 9, 10, 8, 1, 10], field_decimals => [0, 3, 4, 0, 0, 0])
  or die XBase->errstr;
$t->set_record(0, "Zo\xEB \x80uro", -12.5, 3.1416, '19991231', 1, 'a memo text') or die $t->errstr;
$t->set_record(1, 'Bob', 7, 0, '20240229', 0, undef) or die $t->errstr;
$t->set_record(2, 'Gone', 1, 1, '20000101', 1, 'x') or die $t->errstr;
$t->delete_record(2) or die $t->errstr;
$t->close;
)";
  CommandResult r = RunCommand("perl -e " + Quote(create) + " " + Quote(path));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  {
    Engine engine(dir_.path());
    Table* t = engine.Open("PEOPLE");
    ASSERT_NE(t, nullptr) << engine.error_message();
    const int name = t->FieldIndex("Name"), amount = t->FieldIndex("AMOUNT"),
              ratio = t->FieldIndex("ratio"), born = t->FieldIndex("born"),
              ok = t->FieldIndex("OK"), notes = t->FieldIndex("notes");
    ASSERT_TRUE(name >= 0 && amount >= 0 && ratio >= 0 && born >= 0 && ok >= 0 && notes >= 0);
    EXPECT_EQ(t->fields()[static_cast<size_t>(ratio)].type, 'F');
    EXPECT_EQ(t->fields()[static_cast<size_t>(ratio)].decimals, 4);
    EXPECT_EQ(Walk(t, nullptr), (std::vector<uint32_t>{1, 2, 3}));

    ASSERT_EQ(t->Go(1), Table::kOnRecord);
    EXPECT_EQ(t->Text(name), "Zoë €uro       ");
    EXPECT_EQ(t->Double(amount), -12.5);
    EXPECT_EQ(t->Double(ratio), 3.1416);
    EXPECT_EQ(t->Text(born), "19991231");
    EXPECT_TRUE(t->True(ok));
    EXPECT_EQ(t->Text(notes), std::string(10, ' '));  // memo text is not read
    EXPECT_TRUE(t->SetText(notes, "no").IsInvalidArgument());
    ASSERT_EQ(t->Go(2), Table::kOnRecord);
    EXPECT_FALSE(t->True(ok));
    EXPECT_EQ(t->Long(amount), 7);
    ASSERT_EQ(t->Go(3), Table::kOnRecord);
    EXPECT_TRUE(t->Deleted());

    // Changes made here: a new amount on record 2 and a new record.
    ASSERT_EQ(t->Go(2), Table::kOnRecord);
    ASSERT_TRUE(t->SetDouble(amount, -0.0625).ok());
    ASSERT_TRUE(t->AppendBlank().ok());
    ASSERT_TRUE(t->SetText(name, "Añadido").ok());
    ASSERT_TRUE(t->SetDouble(ratio, 2.5).ok());
    ASSERT_TRUE(t->SetLogical(ok, true).ok());
    ASSERT_TRUE(t->SetText(born, "20250101").ok());
  }
  const char* read = R"(
use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
for my $i (0 .. $t->last_record) {
  my ($deleted, @v) = $t->get_record($i, 'name', 'amount', 'ratio', 'born', 'ok');
  print join('|', $deleted, map { defined $_ ? $_ : 'undef' } @v), "\n";
}
)";
  r = RunCommand("perl -e " + Quote(read) + " " + Quote(path));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(r.out,
            "0|Zo\xEB \x80uro|-12.5|3.1416|19991231|1\n"
            "0|Bob|-0.063|0|20240229|0\n"
            "1|Gone|1|1|20000101|1\n"
            "0|A\xF1"
            "adido|undef|2.5|20250101|1\n");  // a blank number is null
}

}  // namespace
}  // namespace kpr::testing
