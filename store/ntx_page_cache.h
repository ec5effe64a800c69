// The pages of one .ntx file held in memory.
//
// Clean pages are kept up to a capacity, least recently used out; changed
// (dirty) pages stay until WriteDirty puts them on disk, whatever their
// number. A miss reads the aligned window of kWindowPages pages around the
// page and keeps the last few windows as raw bytes, so that walks over an
// index built in one go (which lies on disk in walking order) read the file
// in large pieces, forwards or backwards, without filling the cache with
// pages that are never asked for.
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
  // Copies the page at offset (the held copy if there is one) without
  // adding it to the cache.
  Status Peek(uint32_t offset, char* dst);

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
  static constexpr size_t kWindowPages = 16;
  static constexpr size_t kWindows = 4;

  struct Window {
    uint64_t start = 0;
    size_t bytes = 0;  // 0: empty
    uint64_t used = 0;  // recency stamp
    std::vector<char> data;
  };
  // Copies the page at offset from the file, through the windows.
  Status ReadThrough(uint32_t offset, char* dst);

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
  Window windows_[kWindows];
  uint64_t window_clock_ = 0;
  std::vector<char> buffer_;  // write runs
};

}  // namespace kpr
