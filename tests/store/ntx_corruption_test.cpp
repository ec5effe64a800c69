// Damaged .ntx files: every call gives OK or Corruption, never a crash or a
// walk without end, and Open or Verify names the damage.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "store/ntx_index.h"
#include "tests/support/temp_dir.h"

namespace kpr {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr uint16_t kKeySize = 8;
constexpr int kItems = 4000;  // three levels with 54 items a page

std::string Key(int k) {
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%08d", k);
  return buf;
}

uint16_t Get16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               (static_cast<unsigned char>(b[at + 1]) << 8));
}
uint32_t Get32(const std::string& b, size_t at) {
  return Get16(b, at) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16);
}
void Put16(std::string* b, size_t at, uint16_t v) {
  (*b)[at] = static_cast<char>(v & 0xFF);
  (*b)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
uint32_t Root(const std::string& b) { return Get32(b, 4); }
// File offset of item i of the page at page.
size_t Slot(const std::string& b, uint32_t page, int i) { return page + Get16(b, page + 2 + 2 * i); }
uint32_t Child(const std::string& b, uint32_t page, int i) { return Get32(b, Slot(b, page, i)); }

bool OkOrCorruption(const Status& s) { return s.ok() || s.IsCorruption(); }

// Runs every kind of call on the index at path; each must give OK or
// Corruption. Returns Verify's status.
Status Exercise(const std::string& path) {
  std::unique_ptr<NtxIndex> index;
  Status s = NtxIndex::Open(FileSystem::Default(), path, true, &index);
  if (!s.ok()) return s;
  for (bool forward : {true, false}) {
    NtxPosition pos;
    Status w = forward ? index->First(&pos) : index->Last(&pos);
    for (int n = 0; w.ok() && pos.valid && n < 3 * kItems; ++n) {
      w = forward ? index->Next(&pos) : index->Prev(&pos);
    }
    EXPECT_TRUE(OkOrCorruption(w)) << w.ToString();
  }
  for (int k : {0, 1234, kItems - 1, kItems + 5}) {
    NtxPosition pos;
    Status seek = index->Seek(Key(k), 0, &pos);
    EXPECT_TRUE(OkOrCorruption(seek)) << seek.ToString();
    if (seek.ok() && pos.valid) {
      EXPECT_TRUE(OkOrCorruption(index->Next(&pos)));
    }
  }
  for (int k : {17, 2000, 3999}) {
    const Status r = index->Remove(Key(k), k + 1);
    EXPECT_TRUE(OkOrCorruption(r)) << r.ToString();
    for (int j = 0; j < 60; ++j) {
      const Status ins = index->Insert(Key(k), 100000 + j);
      EXPECT_TRUE(OkOrCorruption(ins)) << ins.ToString();
    }
  }
  return index->Verify(nullptr);
}

class NtxCorruptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    NtxKeyList items(kKeySize);
    for (int k = 0; k < kItems; ++k) items.Add(Key(k), k + 1);
    NtxMeta meta;
    meta.expression = "KEY";
    meta.key_size = kKeySize;
    ASSERT_TRUE(NtxIndex::Build(FileSystem::Default(), good_, meta, &items).ok());
    bytes_ = ReadFileBytes(good_);
    ASSERT_TRUE(Exercise(good_).ok());  // the undamaged file passes
    bytes_ = ReadFileBytes(good_);      // (before the exercise's changes: not flushed)
  }

  TempDir dir_;
  const std::string good_ = dir_.File("good.ntx");
  const std::string bad_ = dir_.File("bad.ntx");
  std::string bytes_;
};

TEST_F(NtxCorruptionTest, DamageIsReported) {
  const uint32_t root = Root(bytes_);
  const uint32_t size = static_cast<uint32_t>(bytes_.size());
  const uint32_t child0 = Child(bytes_, root, 0);
  struct Case {
    const char* name;
    bool open_fails;
    std::function<void(std::string*)> damage;
  } cases[] = {
      {"signature", true, [](std::string* b) { Put16(b, 0, 0x4242); }},
      {"key size zero", true, [](std::string* b) { Put16(b, 14, 0); }},
      {"item size", true, [](std::string* b) { Put16(b, 12, 99); }},
      {"max items beyond a page", true, [](std::string* b) { Put16(b, 18, 500); }},
      {"half page zero", true, [](std::string* b) { Put16(b, 20, 0); }},
      {"root not page aligned", true, [&](std::string* b) { Put32(b, 4, root + 7); }},
      {"root past the end", true, [&](std::string* b) { Put32(b, 4, size + 1024); }},
      {"root is the header", true, [](std::string* b) { Put32(b, 4, 0); }},
      {"free list past the end", true, [&](std::string* b) { Put32(b, 8, size + 4096); }},
      {"expression unterminated", true, [](std::string* b) { b->replace(22, 256, 256, 'A'); }},
      {"truncated inside the header", true, [](std::string* b) { b->resize(1000); }},
      {"truncated to the header", true, [](std::string* b) { b->resize(1024); }},
      {"truncated inside the root", true, [&](std::string* b) { b->resize(size - 100); }},
      {"root item count too large", false, [&](std::string* b) { Put16(b, root, 0xFFFF); }},
      {"root slot outside the page", false, [&](std::string* b) { Put16(b, root + 2, 1020); }},
      {"root slot used twice", false,
       [&](std::string* b) { Put16(b, root + 4, Get16(*b, root + 2)); }},
      {"child not page aligned", false,
       [&](std::string* b) { Put32(b, Slot(*b, root, 0), child0 + 7); }},
      {"child past the end", false,
       [&](std::string* b) { Put32(b, Slot(*b, root, 0), size + 1024 * 8); }},
      {"child is the root", false, [&](std::string* b) { Put32(b, Slot(*b, root, 0), root); }},
      {"grandchild is the root", false,
       [&](std::string* b) { Put32(b, Slot(*b, child0, 1), root); }},
      {"two parents share a page", false,
       [&](std::string* b) { Put32(b, Slot(*b, root, 1), child0); }},
      {"leaf given a child", false,
       [&](std::string* b) {
         const uint32_t leaf = Child(*b, child0, 0);
         Put32(b, Slot(*b, leaf, 3), root);
       }},
      {"keys out of order", false,
       [&](std::string* b) {
         const uint32_t leaf = Child(*b, child0, 0);
         (*b)[Slot(*b, leaf, 2) + 8] = '9';
       }},
      {"leaf zeroed", false,
       [&](std::string* b) { b->replace(Child(*b, child0, 2), 1024, 1024, '\0'); }},
      {"free page points at itself", false,
       [&](std::string* b) {
         b->append(1024, '\0');
         Put32(b, 8, size);
         Put32(b, size, size);
       }},
      {"free list leads into the tree", false, [&](std::string* b) { Put32(b, 8, child0); }},
  };
  for (const Case& c : cases) {
    std::string damaged = bytes_;
    c.damage(&damaged);
    WriteFileBytes(bad_, damaged);
    const Status s = Exercise(bad_);
    EXPECT_TRUE(s.IsCorruption()) << c.name << ": " << s.ToString();
    EXPECT_NE(s.message().find(bad_), std::string::npos) << c.name << ": " << s.message();
    std::unique_ptr<NtxIndex> index;
    EXPECT_EQ(NtxIndex::Open(FileSystem::Default(), bad_, false, &index).ok(), !c.open_fails)
        << c.name;
  }
}

TEST_F(NtxCorruptionTest, RandomDamageNeverCrashes) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = bytes_;
    const int flips = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < flips; ++i) {
      // Mostly the structural bytes at the start of pages and the header.
      const size_t page = rng() % (damaged.size() / 1024);
      const size_t at = page * 1024 + (rng() % 3 == 0 ? rng() % 1024 : rng() % 64);
      damaged[at] = static_cast<char>(rng());
    }
    if (rng() % 10 == 0) damaged.resize(rng() % damaged.size());
    WriteFileBytes(bad_, damaged);
    const Status s = Exercise(bad_);
    EXPECT_TRUE(OkOrCorruption(s)) << "round " << round << ": " << s.ToString();
  }
}

}  // namespace
}  // namespace kpr
