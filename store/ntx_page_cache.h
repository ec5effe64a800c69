// The pages of one .ntx file held in memory.
//
// Clean pages are kept up to a capacity, least recently used out; changed
// (dirty) pages stay until WriteDirty puts them on disk, whatever their
// number. A miss reads the page together with the pages after it, since an
// index built in one go lies on disk in walking order.
//
// Page pointers stay valid until the next Trim: callers trim only between
// operations, when they hold none.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "store/file.h"
#include "store/ntx_page.h"

namespace kpr {

class NtxPageCache {
 public:
  struct Page {
    uint32_t offset = 0;
    bool dirty = false;
    bool checked = false;  // free for the owner's use: page contents verified
    Page* newer = nullptr;  // recency list of clean pages
    Page* older = nullptr;
    alignas(8) char data[NtxGeometry::kPageSize];
  };

  NtxPageCache(File* file, size_t capacity_pages);
  ~NtxPageCache();

  // The page at offset, read from the file when it is not held. A page that
  // the file does not hold entirely is Corruption naming the file.
  Status Get(uint32_t offset, Page** page);
  // A page not read from the file (appended, or taken from the free list):
  // zeroed, dirty. Replaces a held copy.
  Page* Create(uint32_t offset);
  void MarkDirty(Page* page);
  // The held page at offset, without reading or touching it.
  bool Find(uint32_t offset, Page** page) const;

  bool has_dirty() const { return dirty_count_ > 0; }
  // Writes every dirty page in offset order, neighbours in one write. On
  // failure the pages not known to be written stay dirty.
  Status WriteDirty();
  // Drops least recently used clean pages beyond the capacity.
  void Trim();
  // Drops every clean page (dirty pages stay).
  void DropClean();

  size_t resident() const { return pages_.size(); }

 private:
  static constexpr size_t kReadAhead = 16;  // pages read together on a miss

  void Link(Page* p);    // as newest clean page
  void Unlink(Page* p);  // from the recency list
  Page* Allocate(uint32_t offset);
  void Release(Page* p);

  File* file_;
  size_t capacity_;
  std::unordered_map<uint32_t, Page*> pages_;
  Page* newest_ = nullptr;
  Page* oldest_ = nullptr;
  Page* last_ = nullptr;  // last page returned by Get, for runs of hits
  size_t dirty_count_ = 0;
  std::vector<Page*> spare_;  // a few released pages kept for reuse
  std::vector<char> buffer_;                 // read-ahead and write runs
};

}  // namespace kpr
