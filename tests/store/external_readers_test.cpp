// Tables written by the engine read the same in other dBASE programs:
// Python's dbfread, Perl's XBase and GDAL's ogrinfo. Each test is skipped
// with the package to install when its reader is missing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

// One record as the test writes it through the engine.
struct Row {
  const char* name;  // UTF-8
  double amount;     // N 12 2
  int64_t qty;       // N 5
  double rate;       // F 9 3
  bool paid;
  const char* due;  // yyyymmdd or ""
  bool deleted;
};

const Row kRows[] = {
    {"Café “Zum Löwen”", 1234.5, 42, 0.125, true, "20240229", false},
    {"Gone", -1, 1, 1, false, "19991231", true},
    {"Plain", -2.675, -7, 0, false, "", false},
    {"Über € 100", 0, 0, 3.5, true, "20000101", false},
    {"Also gone", 5, 5, 5, true, "20100101", true},
};

class ExternalReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("LEDGER.dbf");
    ASSERT_TRUE(
        MakeTable(path_, {Field("NAME", 'C', 20), Field("AMOUNT", 'N', 12, 2), Field("QTY", 'N', 5),
                          Field("RATE", 'F', 9, 3), Field("PAID", 'L', 1), Field("DUE", 'D', 8)})
            .ok());
    Engine engine(dir_.path());
    Table* t = engine.Open("ledger");
    ASSERT_NE(t, nullptr) << engine.error_message();
    for (const Row& r : kRows) {
      ASSERT_TRUE(t->AppendBlank().ok());
      ASSERT_TRUE(t->SetText(0, r.name).ok());
      ASSERT_TRUE(t->SetDouble(1, r.amount).ok());
      ASSERT_TRUE(t->SetLong(2, r.qty).ok());
      ASSERT_TRUE(t->SetDouble(3, r.rate).ok());
      ASSERT_TRUE(t->SetLogical(4, r.paid).ok());
      ASSERT_TRUE(t->SetText(5, r.due).ok());
      if (r.deleted) {
        ASSERT_TRUE(t->Delete().ok());
      }
    }
    ASSERT_TRUE(engine.Close(t).ok());
  }

  TempDir dir_;
  std::string path_;
};

// Lines "live|..." or "deleted|..." in record order, as each reader prints them.
std::vector<std::string> Lines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(ExternalReadersTest, PythonDbfreadReadsTheSameValues) {
  std::string why;
  if (!HavePythonDbfread(&why)) GTEST_SKIP() << why;
  const char* script = R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1252', load=True)
print(','.join(t.field_names))
print(len(t.records), len(t.deleted))
for r in t.records: print('live|' + '|'.join(str(v) for v in r.values()))
for r in t.deleted: print('deleted|' + '|'.join(str(v) for v in r.values()))
)";
  CommandResult r = RunCommand("/usr/bin/python3 -c " + Quote(script) + " " + Quote(path_));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  // dbfread gives the live records, then the deleted ones apart.
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "NAME,AMOUNT,QTY,RATE,PAID,DUE",
                              "3 2",
                              "live|Café “Zum Löwen”|1234.5|42|0.125|True|2024-02-29",
                              "live|Plain|-2.68|-7|0.0|False|None",
                              "live|Über € 100|0.0|0|3.5|True|2000-01-01",
                              "deleted|Gone|-1.0|1|1.0|False|1999-12-31",
                              "deleted|Also gone|5.0|5|5.0|True|2010-01-01",
                          }));
}

TEST_F(ExternalReadersTest, PerlXBaseReadsTheSameValues) {
  std::string why;
  if (!HavePerlXBase(&why)) GTEST_SKIP() << why;
  // XBase hands out the stored bytes (Windows-1252); they are turned into
  // UTF-8 here to compare.
  const char* script = R"(
use XBase; use Encode;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
print join(',', $t->field_names), "\n";
for my $i (0 .. $t->last_record) {
  my ($deleted, @v) = $t->get_record($i);
  print join('|', $deleted ? 'deleted' : 'live',
             map { defined $_ ? encode('UTF-8', decode('cp1252', $_)) : 'undef' } @v), "\n";
}
)";
  CommandResult r = RunCommand("perl -e " + Quote(script) + " " + Quote(path_));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "NAME,AMOUNT,QTY,RATE,PAID,DUE",
                              "live|Café “Zum Löwen”|1234.5|42|0.125|1|20240229",
                              "deleted|Gone|-1|1|1|0|19991231",
                              "live|Plain|-2.68|-7|0|0|undef",
                              "live|Über € 100|0|0|3.5|1|20000101",
                              "deleted|Also gone|5|5|5|1|20100101",
                          }));
}

TEST_F(ExternalReadersTest, GdalOgrinfoReadsTheLiveRecords) {
  std::string why;
  if (!HaveOgrinfo(&why)) GTEST_SKIP() << why;
  CommandResult r = RunCommand("ogrinfo -ro -al --config SHAPE_ENCODING CP1252 " + Quote(path_));
  ASSERT_EQ(r.exit_code, 0) << r.out;
  // Each feature as "#<record index> NAME=...;AMOUNT=...;...".
  std::vector<std::string> features;
  for (const std::string& line : Lines(r.out)) {
    if (line.rfind("OGRFeature(", 0) == 0) {
      features.push_back("#" + line.substr(line.find("):") + 2) + " ");
      continue;
    }
    const auto type = line.find(" (");
    const auto eq = line.find(") = ");
    if (features.empty() || line.rfind("  ", 0) != 0 || type == std::string::npos ||
        eq == std::string::npos) {
      continue;
    }
    if (features.back().back() != ' ') features.back() += ";";
    features.back() += line.substr(2, type - 2) + "=" + line.substr(eq + 4);
  }
  // GDAL leaves deleted records (indexes 1 and 4) out, and an empty date
  // (a null) is not printed.
  EXPECT_EQ(features, (std::vector<std::string>{
                          "#0 NAME=Café “Zum Löwen”;AMOUNT=1234.50;QTY=42;RATE=0.125;PAID=T;"
                          "DUE=2024/02/29",
                          "#2 NAME=Plain;AMOUNT=-2.68;QTY=-7;RATE=0.000;PAID=F",
                          "#3 NAME=Über € 100;AMOUNT=0.00;QTY=0;RATE=3.500;PAID=T;DUE=2000/01/01",
                      }))
      << r.out;
}

}  // namespace
}  // namespace kpr::testing
