// Our .ntx files as another reader of the format sees them: Perl's
// XBase::Index (Debian package libdbd-xbase-perl) must walk the same items
// in the same order.
#include <gtest/gtest.h>

#include "tests/support/paths.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "store/ntx_index.h"
#include "tests/support/temp_dir.h"

namespace kpr {
namespace {

using testing::TempDir;
using Item = std::pair<std::string, uint32_t>;

using testing::SourceDir;

bool HaveXBaseIndex() { return std::system("perl -MXBase::Index -e 1 >/dev/null 2>&1") == 0; }

// Items of an index file as ntx_dump.pl prints them.
bool DumpWithPerl(const std::string& path, std::vector<Item>* items) {
  const std::string command =
      "perl '" + SourceDir() + "/tests/store/ntx_dump.pl' '" + path + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  std::string out;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), pipe)) > 0) out.append(buf, n);
  if (::pclose(pipe) != 0) {
    ADD_FAILURE() << command << ":\n" << out;
    return false;
  }
  size_t start = 0;
  while (start < out.size()) {
    const size_t end = out.find('\n', start);
    const std::string line = out.substr(start, end - start);
    const size_t tab = line.rfind('\t');
    if (tab == std::string::npos) {
      ADD_FAILURE() << "unexpected line from ntx_dump.pl: " << line;
      return false;
    }
    items->emplace_back(line.substr(0, tab), std::stoul(line.substr(tab + 1)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

std::vector<Item> OurItems(const std::string& path) {
  std::unique_ptr<NtxIndex> index;
  EXPECT_TRUE(NtxIndex::Open(FileSystem::Default(), path, false, &index).ok());
  NtxKeyList list(index->key_size());
  EXPECT_TRUE(index->Verify(&list).ok());
  std::vector<Item> v;
  for (size_t i = 0; i < list.size(); ++i) v.emplace_back(std::string(list.key(i)), list.recno(i));
  return v;
}

// Keys like STR(ACCNO,4)+DTOS(EXPDATE): many records per account and day.
std::string LedgerKey(std::mt19937* rng) {
  char key[13];
  std::snprintf(key, sizeof(key), "%4u2024%02u%02u", static_cast<unsigned>((*rng)() % 60 + 1),
                static_cast<unsigned>((*rng)() % 12 + 1), static_cast<unsigned>((*rng)() % 28 + 1));
  return key;
}

class NtxReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveXBaseIndex()) {
      GTEST_SKIP() << "perl with XBase::Index (Debian package libdbd-xbase-perl) is not "
                      "installed; scripts/ installs it";
    }
  }
  TempDir dir_;
};

TEST_F(NtxReaderTest, ReadsABuiltIndex) {
  std::mt19937 rng(7);
  NtxKeyList items(12);
  for (uint32_t recno = 1; recno <= 20000; ++recno) items.Add(LedgerKey(&rng), recno);
  NtxMeta meta;
  meta.expression = "STR(ACCNO,4)+DTOS(EXPDATE)";
  meta.key_size = 12;
  const std::string path = dir_.File("built.ntx");
  ASSERT_TRUE(NtxIndex::Build(FileSystem::Default(), path, meta, &items).ok());

  std::vector<Item> theirs;
  ASSERT_TRUE(DumpWithPerl(path, &theirs));
  const std::vector<Item> ours = OurItems(path);
  ASSERT_EQ(ours.size(), 20000u);
  EXPECT_EQ(theirs, ours);
}

TEST_F(NtxReaderTest, ReadsAnIndexAfterManyChanges) {
  std::mt19937 rng(11);
  NtxMeta meta;
  meta.expression = "STR(ACCNO,4)+DTOS(EXPDATE)";
  meta.key_size = 12;
  NtxKeyList empty(12);
  const std::string path = dir_.File("changed.ntx");
  ASSERT_TRUE(NtxIndex::Build(FileSystem::Default(), path, meta, &empty).ok());
  std::unique_ptr<NtxIndex> index;
  ASSERT_TRUE(NtxIndex::Open(FileSystem::Default(), path, true, &index).ok());
  std::set<Item> model;
  for (int i = 0; i < 30000; ++i) {
    if (model.empty() || rng() % 3 != 0) {
      Item it(LedgerKey(&rng), rng() % 50000 + 1);
      if (model.insert(it).second) {
        ASSERT_TRUE(index->Insert(it.first, it.second).ok());
      }
    } else {
      auto victim = model.lower_bound(Item(LedgerKey(&rng), 0));
      if (victim == model.end()) victim = model.begin();
      ASSERT_TRUE(index->Remove(victim->first, victim->second).ok());
      model.erase(victim);
    }
  }
  ASSERT_TRUE(index->Flush().ok());
  index.reset();

  std::vector<Item> theirs;
  ASSERT_TRUE(DumpWithPerl(path, &theirs));
  EXPECT_EQ(theirs, std::vector<Item>(model.begin(), model.end()));
  EXPECT_EQ(OurItems(path), theirs);
}

}  // namespace
}  // namespace kpr
