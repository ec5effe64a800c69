#include "store/ntx_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

namespace kpr {
namespace {

using testing::FaultyFileSystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

using Item = std::pair<std::string, uint32_t>;
using Model = std::set<Item>;

constexpr uint32_t kPage = 1024;

NtxMeta MetaFor(uint16_t key_size) {
  NtxMeta meta;
  meta.expression = "STR(ACCNO,4)+DTOS(EXPDATE)";
  meta.key_size = key_size;
  return meta;
}

// Key number k as digits, left-aligned and blank-filled to key_size.
std::string MakeKey(uint16_t key_size, int k) {
  std::string key = std::to_string(k);
  key.insert(0, key.size() < 4 ? 4 - key.size() : 0, '0');
  key.resize(key_size, ' ');
  return key;
}

// Bytes compare unsigned, as memcmp does; then record numbers.
int NtxCompareForTest(const Item& a, const Item& b) {
  const int c = std::memcmp(a.first.data(), b.first.data(), a.first.size());
  if (c != 0) return c;
  return a.second < b.second ? -1 : (a.second > b.second ? 1 : 0);
}

std::vector<Item> ToVector(const NtxKeyList& list) {
  std::vector<Item> v;
  for (size_t i = 0; i < list.size(); ++i) v.emplace_back(std::string(list.key(i)), list.recno(i));
  return v;
}

Status BuildFrom(FileSystem* fs, const std::string& path, uint16_t key_size,
                 const std::vector<Item>& items) {
  NtxKeyList list(key_size);
  for (const Item& it : items) list.Add(it.first, it.second);
  return NtxIndex::Build(fs, path, MetaFor(key_size), &list);
}

std::unique_ptr<NtxIndex> OpenOrDie(const std::string& path, bool writable = true,
                                    FileSystem* fs = FileSystem::Default()) {
  std::unique_ptr<NtxIndex> index;
  Status s = NtxIndex::Open(fs, path, writable, &index);
  EXPECT_TRUE(s.ok()) << s.ToString();
  return index;
}

// Every item by First/Next (forward) or Last/Prev, or the status that
// stopped the walk. Stops after limit items, so a looping walk ends.
Status Walk(NtxIndex* index, bool forward, std::vector<Item>* out, size_t limit = 10000000) {
  NtxPosition pos;
  Status s = forward ? index->First(&pos) : index->Last(&pos);
  while (s.ok() && pos.valid && out->size() < limit) {
    out->emplace_back(pos.key, pos.recno);
    s = forward ? index->Next(&pos) : index->Prev(&pos);
  }
  return s;
}

void ExpectMatches(NtxIndex* index, const Model& model) {
  const std::vector<Item> want(model.begin(), model.end());
  NtxKeyList verified(index->key_size());
  Status s = index->Verify(&verified);
  ASSERT_TRUE(s.ok()) << s.ToString();
  EXPECT_EQ(ToVector(verified), want);
  std::vector<Item> forward, backward;
  ASSERT_TRUE(Walk(index, true, &forward).ok());
  EXPECT_EQ(forward, want);
  ASSERT_TRUE(Walk(index, false, &backward).ok());
  EXPECT_EQ(std::vector<Item>(backward.rbegin(), backward.rend()), want);
}

// --- Random changes against a model -----------------------------------------

struct ModelCase {
  uint16_t key_size;  // 250 gives two items a page: deep trees, constant splits
  int distinct_keys;  // few keys: long runs of duplicates ordered by recno
  int steps;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << "key size " << c.key_size << ", " << c.distinct_keys << " keys, " << c.steps << " steps";
}

class NtxModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(NtxModelTest, RandomInsertsAndRemovesMatchAModel) {
  const ModelCase c = GetParam();
  TempDir dir;
  const std::string path = dir.File("model.ntx");
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, c.key_size, {}).ok());
  auto index = OpenOrDie(path);
  Model model;
  std::mt19937 rng(c.key_size * 7919 + c.distinct_keys);

  // A cursor kept across the changes: Next must find the item after it.
  NtxPosition cursor;
  Item at;

  auto random_item = [&] {
    return Item(MakeKey(c.key_size, static_cast<int>(rng() % c.distinct_keys)), rng() % 500 + 1);
  };
  auto step = [&](int i, int steps) {
    const bool growing = i < steps / 2;
    const bool insert = model.empty() || (rng() % 10) < (growing ? 7u : 3u);
    if (insert) {
      const Item it = random_item();
      Status s = index->Insert(it.first, it.second);
      if (model.count(it) != 0) {
        EXPECT_TRUE(s.IsCorruption()) << s.ToString();
      } else {
        ASSERT_TRUE(s.ok()) << s.ToString();
        model.insert(it);
      }
    } else if (rng() % 20 == 0) {
      const Item it = random_item();
      if (model.count(it) == 0) {
        EXPECT_TRUE(index->Remove(it.first, it.second).IsCorruption());
      }
    } else {
      auto victim = std::next(model.begin(), static_cast<long>(rng() % model.size()));
      Status s = index->Remove(victim->first, victim->second);
      ASSERT_TRUE(s.ok()) << s.ToString();
      model.erase(victim);
    }
    // Move the cursor one step and compare with the model.
    if (cursor.valid) {
      const bool forward = rng() % 2 == 0;
      ASSERT_TRUE((forward ? index->Next(&cursor) : index->Prev(&cursor)).ok());
      auto want = forward ? model.upper_bound(at) : model.lower_bound(at);
      if (!forward) want = want == model.begin() ? model.end() : std::prev(want);
      ASSERT_EQ(cursor.valid, want != model.end());
      if (cursor.valid) {
        EXPECT_EQ(Item(cursor.key, cursor.recno), *want);
        at = *want;
      }
    }
    if (!cursor.valid && !model.empty()) {
      const Item it = random_item();
      ASSERT_TRUE(index->Seek(it.first, it.second, &cursor).ok());
      auto want = model.lower_bound(it);
      ASSERT_EQ(cursor.valid, want != model.end());
      if (cursor.valid) at = *want;
    }
  };

  for (int i = 0; i < c.steps; ++i) {
    ASSERT_NO_FATAL_FAILURE(step(i, c.steps));
    if (i % 500 == 0) {
      ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
    }
    if (i == c.steps / 2) {  // survive a flush and a reopen
      ASSERT_TRUE(index->Flush().ok());
      index = OpenOrDie(path);
      cursor.valid = false;
      ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
    }
  }
  ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
  ASSERT_TRUE(index->Flush().ok());
  index = OpenOrDie(path);
  ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));

  // Empty it completely; the freed pages are used again afterwards.
  for (const Item& it : model) ASSERT_TRUE(index->Remove(it.first, it.second).ok());
  model.clear();
  ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
  ASSERT_TRUE(index->Flush().ok());
  const std::string emptied = ReadFileBytes(path);
  index = OpenOrDie(path);
  for (int i = 0; i < 300; ++i) {
    const Item it = random_item();
    if (model.insert(it).second) {
      ASSERT_TRUE(index->Insert(it.first, it.second).ok());
    }
  }
  ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
  ASSERT_TRUE(index->Flush().ok());
  EXPECT_EQ(ReadFileBytes(path).size(), emptied.size()) << "free pages were not reused";
}

INSTANTIATE_TEST_SUITE_P(KeySizes, NtxModelTest,
                         ::testing::Values(ModelCase{8, 40, 6000}, ModelCase{12, 3000, 20000},
                                           ModelCase{100, 25, 4000}, ModelCase{250, 30, 2500}),
                         [](const auto& info) {
                           return "Key" + std::to_string(info.param.key_size);
                         });

// --- Seek ---------------------------------------------------------------------

TEST(NtxSeekTest, FindsPrefixesAndRecordNumbers) {
  TempDir dir;
  const std::string path = dir.File("seek.ntx");
  std::vector<Item> items = {{"AB10", 1}, {"AB10", 5}, {"AB20", 2}, {"AC00", 3}, {"B000", 4}};
  // Many smaller keys before them, so that the tree has several levels.
  for (int k = 0; k < 3000; ++k) items.emplace_back(MakeKey(4, k), 10000 + k);
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 4, items).ok());
  auto built = OpenOrDie(path);

  // The same items inserted one by one into another index.
  const std::string path2 = dir.File("seek2.ntx");
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path2, 4, {}).ok());
  auto inserted = OpenOrDie(path2);
  for (const Item& it : items) ASSERT_TRUE(inserted->Insert(it.first, it.second).ok());

  struct Case {
    std::string prefix;
    uint32_t min_recno;
    bool found;
    Item want;
  } cases[] = {
      {"", 0, true, {"0000", 10000}},
      {"AB", 0, true, {"AB10", 1}},
      {"AB10", 0, true, {"AB10", 1}},
      {"AB10", 2, true, {"AB10", 5}},    // skips lower record numbers
      {"AB10", 5, true, {"AB10", 5}},
      {"AB10", 6, true, {"AB20", 2}},    // past the key's records: next key
      {"AB", 3, true, {"AB10", 5}},      // short prefix with a record number
      {"AB", 6, true, {"AC00", 3}},      // no record >= 6 under the prefix
      {"AB15", 0, true, {"AB20", 2}},    // not found: the next key
      {"A", 0, true, {"AB10", 1}},
      {"2999", 0, true, {"2999", 12999}},
      {"3", 0, true, {"AB10", 1}},
      {"B000", 4, true, {"B000", 4}},
      {"B000", 5, false, {}},            // past the end
      {"C", 0, false, {}},
      {"\xff", 0, false, {}},
  };
  for (NtxIndex* index : {built.get(), inserted.get()}) {
    for (const Case& c : cases) {
      NtxPosition pos;
      ASSERT_TRUE(index->Seek(c.prefix, c.min_recno, &pos).ok());
      ASSERT_EQ(pos.valid, c.found) << c.prefix << "/" << c.min_recno;
      if (c.found) {
        EXPECT_EQ(Item(pos.key, pos.recno), c.want) << c.prefix << "/" << c.min_recno;
      }
    }
  }
  NtxPosition pos;
  EXPECT_TRUE(built->Seek("AB100", 0, &pos).IsInvalidArgument());
}

// --- Sort ---------------------------------------------------------------------

TEST(NtxKeyListTest, SortsLikeBytewiseThenRecordNumber) {
  // Key sizes around the packing limits; bytes above 0x7F must sort high,
  // record numbers use all four bytes, and many items share a key.
  for (uint16_t key_size : {1, 4, 5, 12, 13, 20, 28, 29, 60}) {
    std::mt19937 rng(key_size);
    const char alphabet[] = {' ', '0', '9', 'A', '\x7f', '\x80', '\xe9', '\xff'};
    NtxKeyList list(key_size);
    std::vector<Item> want;
    for (int i = 0; i < 20000; ++i) {
      std::string key(key_size, ' ');
      for (char& ch : key) ch = alphabet[rng() % (i % 3 == 0 ? 2 : 8)];
      const uint32_t recno = i % 2 == 0 ? static_cast<uint32_t>(rng()) : rng() % 50;
      list.Add(key, recno);
      want.emplace_back(key, recno);
    }
    std::sort(want.begin(), want.end(), [](const Item& a, const Item& b) {
      return NtxCompareForTest(a, b) < 0;
    });
    list.Sort();
    EXPECT_EQ(ToVector(list), want) << "key size " << key_size;
  }
}

// --- Build --------------------------------------------------------------------

TEST(NtxBuildTest, BuildsTreesOfEverySize) {
  // Key size 100 gives 8 items a page: 9 and 81 items are where the tree
  // grows a level.
  TempDir dir;
  for (int n : {0, 1, 8, 9, 80, 81, 728, 729, 5000}) {
    std::vector<Item> items;
    std::mt19937 rng(n);
    Model model;
    while (static_cast<int>(model.size()) < n) {
      model.emplace(MakeKey(100, static_cast<int>(rng() % (n / 3 + 1))), rng() % 100000 + 1);
    }
    items.assign(model.begin(), model.end());
    std::shuffle(items.begin(), items.end(), rng);
    const std::string path = dir.File("b" + std::to_string(n) + ".ntx");
    ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 100, items).ok()) << n;
    auto index = OpenOrDie(path);
    EXPECT_EQ(index->version(), 1u);
    EXPECT_EQ(index->meta().expression, MetaFor(100).expression);
    SCOPED_TRACE(n);
    ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
    // A built tree takes changes like any other.
    const Item extra(MakeKey(100, 7), 424242);
    ASSERT_TRUE(index->Insert(extra.first, extra.second).ok());
    model.insert(extra);
    ASSERT_NO_FATAL_FAILURE(ExpectMatches(index.get(), model));
  }
}

TEST(NtxBuildTest, KeepsTheHeaderFields) {
  TempDir dir;
  const std::string path = dir.File("meta.ntx");
  NtxMeta meta;
  meta.expression = "Str(IncAcc,4,0)+DTOS(INCDATE)";
  meta.filter = "!DELETED()";
  meta.key_size = 12;
  meta.decimals = 0;
  meta.unique = true;
  meta.descending = true;
  NtxKeyList items(12);
  ASSERT_TRUE(NtxIndex::Build(FileSystem::Default(), path, meta, &items).ok());
  auto index = OpenOrDie(path, false);
  EXPECT_EQ(index->meta().expression, meta.expression);
  EXPECT_EQ(index->meta().filter, meta.filter);
  EXPECT_EQ(index->meta().key_size, 12);
  EXPECT_TRUE(index->meta().unique);
  EXPECT_TRUE(index->meta().descending);
  // The fields where other Clipper readers look for them.
  const std::string bytes = ReadFileBytes(path);
  EXPECT_EQ(bytes[0], 6);
  EXPECT_EQ(bytes.substr(22, meta.expression.size() + 1), meta.expression + '\0');
  EXPECT_EQ(bytes[278], 1);
  EXPECT_EQ(bytes[280], 1);
  EXPECT_EQ(bytes.substr(282, meta.filter.size() + 1), meta.filter + '\0');
}

TEST(NtxBuildTest, RejectsWhatCannotBeAnIndex) {
  TempDir dir;
  const std::string path = dir.File("bad.ntx");
  EXPECT_TRUE(BuildFrom(FileSystem::Default(), path, 4, {{"AAAA", 1}, {"AAAA", 1}})
                  .IsInvalidArgument());
  EXPECT_TRUE(BuildFrom(FileSystem::Default(), path, 400, {}).IsInvalidArgument());
  NtxMeta meta = MetaFor(4);
  meta.expression = std::string(300, 'X');
  NtxKeyList items(4);
  EXPECT_TRUE(NtxIndex::Build(FileSystem::Default(), path, meta, &items).IsInvalidArgument());
  EXPECT_FALSE(FileSystem::Default()->Exists(path));
}

TEST(NtxBuildTest, FailedBuildLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("keep.ntx");
  std::vector<Item> old_items, new_items;
  for (int k = 0; k < 1000; ++k) old_items.emplace_back(MakeKey(8, k), k + 1);
  for (int k = 0; k < 5000; ++k) new_items.emplace_back(MakeKey(8, k), k + 7);
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 8, old_items).ok());
  const std::string before = ReadFileBytes(path);
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), dir.File("full.ntx"), 8, new_items).ok());
  const int64_t new_size = static_cast<int64_t>(ReadFileBytes(dir.File("full.ntx")).size());

  for (int64_t budget : {int64_t{0}, int64_t{100}, int64_t{kPage}, new_size / 2, new_size - 1}) {
    FaultyFileSystem fs;
    fs.set_write_budget(budget);
    Status s = BuildFrom(&fs, path, 8, new_items);
    EXPECT_TRUE(s.IsIOError()) << budget << ": " << s.ToString();
    EXPECT_EQ(ReadFileBytes(path), before) << budget;
    EXPECT_FALSE(fs.Exists(path + ".tmp")) << budget;
  }
  FaultyFileSystem fs;
  fs.set_fail_renames(true);
  EXPECT_FALSE(BuildFrom(&fs, path, 8, new_items).ok());
  EXPECT_EQ(ReadFileBytes(path), before);
}

// --- Flush --------------------------------------------------------------------

TEST(NtxFlushTest, RaisesTheVersionOncePerFlushWithChanges) {
  TempDir dir;
  const std::string path = dir.File("v.ntx");
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 8, {{"00000001", 1}}).ok());
  auto index = OpenOrDie(path);
  EXPECT_EQ(index->version(), 1u);
  ASSERT_TRUE(index->Flush().ok());
  EXPECT_EQ(index->version(), 1u);
  for (int k = 0; k < 500; ++k) ASSERT_TRUE(index->Insert(MakeKey(8, k), 2).ok());
  ASSERT_TRUE(index->Flush().ok());
  EXPECT_EQ(index->version(), 2u);
  ASSERT_TRUE(index->Flush().ok());
  EXPECT_EQ(index->version(), 2u);
  ASSERT_TRUE(index->Remove(MakeKey(8, 3), 2).ok());
  ASSERT_TRUE(index->Flush().ok());
  EXPECT_EQ(OpenOrDie(path)->version(), 3u);
}

TEST(NtxFlushTest, FailedFlushCanBeRepeated) {
  TempDir dir;
  const std::string path = dir.File("f.ntx");
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 8, {}).ok());
  FaultyFileSystem fs;
  auto index = OpenOrDie(path, true, &fs);
  Model model;
  for (int k = 0; k < 3000; ++k) {
    model.emplace(MakeKey(8, k * 7 % 3000), k + 1);
    ASSERT_TRUE(index->Insert(MakeKey(8, k * 7 % 3000), k + 1).ok());
  }
  fs.set_write_budget(10 * kPage);
  EXPECT_TRUE(index->Flush().IsIOError());
  fs.set_write_budget(-1);
  ASSERT_TRUE(index->Flush().ok());
  auto reopened = OpenOrDie(path, false);
  ASSERT_NO_FATAL_FAILURE(ExpectMatches(reopened.get(), model));
}

TEST(NtxFlushTest, ReadOnlyIndexRefusesChanges) {
  TempDir dir;
  const std::string path = dir.File("ro.ntx");
  ASSERT_TRUE(BuildFrom(FileSystem::Default(), path, 8, {}).ok());
  auto index = OpenOrDie(path, false);
  EXPECT_TRUE(index->Insert(MakeKey(8, 1), 1).IsInvalidArgument());
  EXPECT_TRUE(index->Insert(MakeKey(4, 1), 1).IsInvalidArgument());
}

}  // namespace
}  // namespace kpr
