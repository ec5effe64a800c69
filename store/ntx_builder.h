// Writes a complete .ntx file from sorted items in one sequential pass.
//
// The tree gets the least height that holds the items; each subtree's items
// are spread evenly over the fewest children that can hold them, so every
// page but the root is at least half full and most are full. Pages are
// written as they complete (children before their parent), which puts them
// on disk in the order an ordered walk visits them; the root comes last and
// the header is written at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "store/file.h"
#include "store/ntx_header.h"
#include "store/ntx_index.h"

namespace kpr {

class NtxBuilder {
 public:
  // REQUIRES: items sorted and free of repeats; header.geometry valid.
  // Writes header (with root set here) and pages to file, from offset 0.
  static Status Write(File* file, NtxHeader header, const NtxKeyList& items);

 private:
  NtxBuilder(File* file, const NtxHeader& header, const NtxKeyList& items);

  // Writes a subtree of the given height holding the next n items; *page
  // receives its root's file offset.
  Status Subtree(int height, uint64_t n, uint32_t* page);
  // Queues a finished page; *offset receives where it goes.
  Status Emit(const char* page, uint32_t* offset);
  Status FlushBuffer();

  File* file_;
  NtxHeader header_;
  const NtxKeyList& items_;
  std::vector<uint64_t> capacity_;  // capacity_[h]: items a full subtree of height h holds
  size_t next_item_ = 0;
  uint64_t next_offset_;            // file offset of the next page emitted
  uint64_t buffer_offset_;          // file offset of buffer_[0]
  std::vector<char> buffer_;
};

}  // namespace kpr
