// The group file: what it keeps, and group files of the first layout.
#include "store/group_file.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "store/coding.h"
#include "store/engine.h"
#include "tests/support/table_helpers.h"
#include "tests/support/temp_dir.h"

namespace kpr::testing {
namespace {

TagDef Def(const std::string& name, uint32_t version, uint64_t size, int64_t mtime) {
  TagDef d = LiveTag(name, "STR(ACCNO,4)");
  d.version = version;
  d.index_size = size;
  d.index_mtime = mtime;
  return d;
}

TEST(GroupFileTest, EncodedGroupReadsBackTheSame) {
  GroupFile g;
  g.open_for_writing = true;
  g.table_size = 123456789012;
  g.table_mtime = -5;
  g.tags = {Def("AccTag", 7, 4096, 1700000000123456789), Def("Other", 65535, 0, 0)};
  g.tags[1].unique = true;
  g.tags[1].descending = true;
  g.tags[1].filter = "";
  GroupFile back;
  ASSERT_TRUE(GroupFile::Decode("x.cgp", g.Encode(), &back).ok());
  EXPECT_EQ(back.open_for_writing, true);
  EXPECT_EQ(back.table_size, g.table_size);
  EXPECT_EQ(back.table_mtime, g.table_mtime);
  ASSERT_EQ(back.tags.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const TagDef& a = g.tags[i];
    const TagDef& b = back.tags[i];
    EXPECT_EQ(std::tie(a.name, a.file, a.expression, a.filter, a.unique, a.descending, a.version,
                       a.index_size, a.index_mtime),
              std::tie(b.name, b.file, b.expression, b.filter, b.unique, b.descending, b.version,
                       b.index_size, b.index_mtime));
  }
}

// A group file as the first layout wrote it: no index file stamps.
std::string FirstLayout(const std::vector<TagDef>& tags, uint64_t table_size, int64_t table_mtime) {
  std::string payload;
  payload.push_back(0);  // closed cleanly
  PutFixed64(&payload, table_size);
  PutFixed64(&payload, static_cast<uint64_t>(table_mtime));
  PutFixed16(&payload, static_cast<uint16_t>(tags.size()));
  for (const TagDef& t : tags) {
    for (const std::string* s : {&t.name, &t.file, &t.expression, &t.filter}) {
      PutFixed16(&payload, static_cast<uint16_t>(s->size()));
      payload += *s;
    }
    payload.push_back(t.unique ? 1 : 0);
    payload.push_back(t.descending ? 1 : 0);
    PutFixed32(&payload, t.version);
  }
  std::string out = "KPRCGP1\n";
  PutFixed32(&out, static_cast<uint32_t>(payload.size()));
  PutFixed32(&out, Crc32(payload.data(), payload.size()));
  return out + payload;
}

TEST(GroupFileTest, FirstLayoutStillReadsAndItsTagsAreRebuiltOnce) {
  TempDir dir;
  ASSERT_TRUE(MakeInstalledDataDir(dir.path()).ok());
  FillExp5(dir.path(), 30, 5);
  GroupFile now;
  ASSERT_TRUE(GroupFile::Read(FileSystem::Default(), dir.File("exp5.cgp"), &now).ok());
  WriteFileBytes(dir.File("exp5.cgp"), FirstLayout(now.tags, now.table_size, now.table_mtime));

  GroupFile old;
  ASSERT_TRUE(GroupFile::Read(FileSystem::Default(), dir.File("exp5.cgp"), &old).ok());
  ASSERT_EQ(old.tags.size(), 2u);
  EXPECT_EQ(old.tags[0].expression, now.tags[0].expression);
  EXPECT_EQ(old.tags[0].index_size, 0u);  // unknown

  for (bool rebuilt : {true, false}) {
    Engine engine(dir.path());
    Table* t = engine.Open("EXP5");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(engine.notes().size(), rebuilt ? 1u : 0u);
    ExpectExp5TagsRight(t);
  }
  ASSERT_TRUE(GroupFile::Read(FileSystem::Default(), dir.File("exp5.cgp"), &now).ok());
  EXPECT_GT(now.tags[0].index_size, 0u);
}

}  // namespace
}  // namespace kpr::testing
