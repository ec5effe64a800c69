// The kprdata command, run as a separate process as the installer and the
// scripts run it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/paths.h"
#include "tests/support/temp_dir.h"

namespace kpr {
namespace {

struct Result {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

std::string Binary() { return testing::BinaryDir() + "/tools/kprdata"; }

Result Kprdata(const std::string& args) {
  testing::TempDir tmp;
  const std::string cmd = Binary() + " " + args + " >" + tmp.File("out") + " 2>" + tmp.File("err");
  Result r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = testing::ReadFileBytes(tmp.File("out"));
  r.err = testing::ReadFileBytes(tmp.File("err"));
  return r;
}

class KprdataTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
  std::string Data(const std::string& sub = "data") const { return dir_.File(sub); }
};

TEST_F(KprdataTest, CreateMakesSixEmptyTablesAndRefusesToOverwrite) {
  Result r = Kprdata("create " + Data());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Kprdata("check " + Data()).status, 0);
  EXPECT_EQ(Kprdata("dump " + Data() + " INC5").out, "recno\tdeleted\tINCACC\tINCIMP\tINCDATE\tINCDESC\tINCAMT\tFOLNO\tARCHIVE\n");
  EXPECT_EQ(Kprdata("dump " + Data() + " KPR1").out,
            "recno\tdeleted\tUNAME\tFYMONTH\tFYDAY\tFONTNAME\tFONTSIZE\n1\t\t\t1\t1\t\t0\n");

  const std::string before = testing::ReadFileBytes(Data() + "/KPR1.dbf");
  for (const char* cmd : {"create ", "sample ", "generate "}) {
    r = Kprdata(cmd + Data() + (std::string(cmd) == "generate " ? " --incomes 1 --expenses 1" : ""));
    EXPECT_EQ(r.status, 1) << cmd;
    EXPECT_NE(r.err.find("exists already"), std::string::npos) << r.err;
  }
  EXPECT_EQ(testing::ReadFileBytes(Data() + "/KPR1.dbf"), before);
}

TEST_F(KprdataTest, SampleIsConsistentAndHasBothKindsOfRecords) {
  ASSERT_EQ(Kprdata("sample " + Data()).status, 0);
  EXPECT_EQ(Kprdata("check " + Data()).status, 0);
  const std::string inc = Kprdata("dump " + Data() + " INC5").out;
  EXPECT_NE(inc.find("\tT\t"), std::string::npos);  // some imported or archived
  const std::string settings = Kprdata("dump " + Data() + " KPR1").out;
  EXPECT_NE(settings.find("Riverside Design & Print"), std::string::npos);
}

TEST_F(KprdataTest, GenerateIsDeterministicForASeed) {
  const std::string opts = " --incomes 300 --expenses 200 --accounts 5 --folders 3 --deleted 0.1 --seed 7 --payments 10";
  ASSERT_EQ(Kprdata("generate " + Data("a") + opts).status, 0);
  ASSERT_EQ(Kprdata("generate " + Data("b") + opts).status, 0);
  for (const char* table : {"INC5", "EXP5", "ACC", "ACCI", "FOLDER"}) {
    EXPECT_EQ(Kprdata("dump " + Data("a") + " " + table).out, Kprdata("dump " + Data("b") + " " + table).out)
        << table;
  }
  const std::string inc = Kprdata("dump " + Data("a") + " INC5").out;
  EXPECT_NE(inc.find("\t*\t"), std::string::npos) << "some records are marked deleted";
  const std::string by_date = Kprdata("dump " + Data("a") + " INC5 --tag incdate").out;
  EXPECT_EQ(by_date.find("\t*\t"), std::string::npos) << "a tag holds only live records";
  EXPECT_TRUE(std::ifstream(Data("a") + "/pmt.dbf").good());
}

TEST_F(KprdataTest, CheckReportsAnIndexOutOfStepAndReindexMendsIt) {
  ASSERT_EQ(Kprdata("generate " + Data() + " --incomes 500 --expenses 10 --seed 3").status, 0);
  // Another program appends a record to the table behind the index's back.
  std::string dbf = testing::ReadFileBytes(Data() + "/INC5.dbf");
  ASSERT_EQ(dbf.back(), '\x1A');
  const size_t reclen = static_cast<unsigned char>(dbf[10]) | (static_cast<unsigned char>(dbf[11]) << 8);
  const size_t header = static_cast<unsigned char>(dbf[8]) | (static_cast<unsigned char>(dbf[9]) << 8);
  std::string record = dbf.substr(header, reclen);
  dbf.insert(dbf.size() - 1, record);
  const uint32_t count = 501;
  for (int i = 0; i < 4; ++i) dbf[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  testing::WriteFileBytes(Data() + "/INC5.dbf", dbf);

  Result r = Kprdata("check " + Data());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("INC5.cgp: stale stamp"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("IncDate.ntx: live record 501"), std::string::npos) << r.out;

  ASSERT_EQ(Kprdata("reindex " + Data()).status, 0);
  r = Kprdata("check " + Data());
  EXPECT_EQ(r.status, 0) << r.out;
}

TEST_F(KprdataTest, CheckReportsAnIndexFileReplacedBehindItsGroup) {
  ASSERT_EQ(Kprdata("generate " + Data("a") + " --incomes 50 --expenses 5 --seed 1").status, 0);
  ASSERT_EQ(Kprdata("generate " + Data("b") + " --incomes 60 --expenses 5 --seed 2").status, 0);
  // An index from another data directory copied over ours.
  testing::WriteFileBytes(Data("a") + "/IncAcc.ntx", testing::ReadFileBytes(Data("b") + "/IncAcc.ntx"));
  Result r = Kprdata("check " + Data("a"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("IncAcc.ntx: stale stamp"), std::string::npos) << r.out;
}

TEST_F(KprdataTest, PackRemovesDeletedRecordsAndKeepsTagsRight) {
  ASSERT_EQ(Kprdata("generate " + Data() + " --incomes 400 --expenses 400 --deleted 0.25 --seed 5").status, 0);
  const std::string live = Kprdata("dump " + Data() + " EXP5 --tag EDate").out;
  ASSERT_EQ(Kprdata("pack " + Data()).status, 0);
  EXPECT_EQ(Kprdata("dump " + Data() + " EXP5").out.find("\t*\t"), std::string::npos);
  EXPECT_EQ(Kprdata("check " + Data()).status, 0);
  // Same records in the same order; only the record numbers moved up.
  auto strip = [](const std::string& dump) {
    std::string out;
    size_t pos = 0;
    while (pos < dump.size()) {
      size_t end = dump.find('\n', pos);
      std::string line = dump.substr(pos, end - pos);
      out += line.substr(line.find('\t')) + "\n";
      pos = end + 1;
    }
    return out;
  };
  EXPECT_EQ(strip(Kprdata("dump " + Data() + " EXP5 --tag EDate").out), strip(live));
}

TEST_F(KprdataTest, FailuresNameWhatIsWrong) {
  struct Case {
    std::string args;
    std::string message;
  };
  const std::array<Case, 5> cases = {{
      {"check " + Data("missing"), "are not all there"},
      {"frobnicate " + Data(), "unknown command"},
      {"generate " + Data() + " --incomes many", "--incomes needs a whole number"},
      {"generate " + Data() + " --colour blue", "unknown option --colour"},
      {"", "missing command"},
  }};
  for (const auto& c : cases) {
    Result r = Kprdata(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
  }
  ASSERT_EQ(Kprdata("create " + Data()).status, 0);
  Result r = Kprdata("dump " + Data() + " NOSUCH");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("NOSUCH.dbf"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kpr
