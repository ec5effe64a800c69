// The B-tree of one open .ntx file: finding, walking and changing items.
//
// Items live in every page (not only the leaves). A place in the tree is a
// path from the root: one (page offset, index) step per level, where the
// index of every step but the last is the child slot taken and the index of
// the last step is the item. An empty path means "no item".
//
// Pages come through a bounded cache; every page is checked the first time
// it is read, and descents stop at kMaxDepth, so a damaged file gives
// Corruption rather than a crash or an endless walk. Changes stay in dirty
// pages until Flush.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/file.h"
#include "store/ntx_header.h"
#include "store/ntx_page_cache.h"

namespace kpr {

class NtxTree {
 public:
  using Path = std::vector<std::pair<uint32_t, uint16_t>>;
  // Deeper than any tree of 2^32 bytes of pages can be.
  static constexpr size_t kMaxDepth = 32;

  // raw_header: page 0 as read, kept so that Flush rewrites only our fields.
  NtxTree(File* file, const NtxHeader& header, const char* raw_header, uint64_t file_end,
          size_t cache_pages);

  const NtxHeader& header() const { return header_; }
  uint64_t file_end() const { return file_end_; }
  const std::string& file_path() const { return file_->path(); }

  Status First(Path* path);
  Status Last(Path* path);
  // REQUIRES: path at an item (as left by any call here, with no change to
  // the tree since). Moves to the following / preceding item.
  Status Next(Path* path);
  Status Prev(Path* path);
  // The first item >= (key, recno); key is key_size() long.
  Status LowerBound(std::string_view key, uint32_t recno, Path* path);
  // REQUIRES: path at an item.
  Status ItemAt(const Path& path, std::string* key, uint32_t* recno);

  // Corruption when the item is already there (Insert) or missing (Remove).
  Status Insert(std::string_view key, uint32_t recno);
  Status Remove(std::string_view key, uint32_t recno);

  // Writes the changed pages, then the header with its version raised by
  // one; does nothing when nothing changed.
  Status Flush();
  // Keeps the cache within bounds; call between operations.
  void Trim() { cache_.Trim(); }

  // A copy of the page at offset as the tree sees it (unflushed changes
  // included), without caching it. Not checked.
  Status ReadPage(uint32_t offset, char* dst);

 private:
  using Page = NtxPageCache::Page;

  Status Fault(uint32_t offset, const std::string& what) const;
  // The page at offset, checked on first use.
  Status GetPage(uint32_t offset, Page** page);
  Status Allocate(Page** page);
  void FreePage(uint32_t offset);
  void Dirty(Page* p) { cache_.MarkDirty(p); }

  Status DescendLeft(uint32_t offset, Path* path);
  Status DescendRight(uint32_t offset, Path* path);
  Status SettleForward(Path* path);
  Status SettleBackward(Path* path);

  // Inserts (child, key, recno) at the step path[level], splitting upwards.
  Status InsertAt(Path* path, size_t level, uint32_t child, std::string key, uint32_t recno);
  // Refills the page at path[level] from a sibling, or merges it with one.
  Status Refill(const Path& path, size_t level);

  File* file_;
  NtxHeader header_;
  std::vector<char> raw_header_;
  uint64_t file_end_;  // end of the last whole page, including appended ones
  bool header_changed_ = false;
  NtxPageCache cache_;
};

}  // namespace kpr
