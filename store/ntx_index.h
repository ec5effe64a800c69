// One Clipper-style .ntx index file: a B-tree of (key, record number) items
// in 1 KB pages. The byte layout is documented in docs/ntx.md and beside the
// page encoder.
//
// Keys are raw bytes (Windows-1252), exactly key_size() long, compared
// bytewise; equal keys are ordered by record number, so every item is unique
// and the order is fully determined.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/file.h"
#include "store/status.h"

namespace kpr {

// What the header of an index file holds besides the tree.
struct NtxMeta {
  std::string expression;  // key expression text as given at creation
  std::string filter;      // filter expression text ("" = every record)
  uint16_t key_size = 0;
  uint16_t decimals = 0;
  bool unique = false;
  bool descending = false;
};

// Flat list of (key, record number) items, for building an index in one go.
class NtxKeyList {
 public:
  explicit NtxKeyList(uint16_t key_size) : key_size_(key_size) {}
  void Reserve(size_t n);
  // REQUIRES: key.size() == key_size()
  void Add(std::string_view key, uint32_t recno);
  size_t size() const { return recnos_.size(); }
  uint16_t key_size() const { return key_size_; }
  std::string_view key(size_t i) const { return {keys_.data() + i * key_size_, key_size_}; }
  uint32_t recno(size_t i) const { return recnos_[i]; }
  // Sorts by (key, record number).
  void Sort();

 private:
  uint16_t key_size_;
  std::vector<char> keys_;
  std::vector<uint32_t> recnos_;
};

// A place in the index. Positions stay usable across changes to the index:
// one taken before a change is re-found by its key and record number.
struct NtxPosition {
  bool valid = false;  // false: before the first or past the last item
  std::string key;
  uint32_t recno = 0;
  // Internal: path from the root, and the change counter it belongs to.
  std::vector<std::pair<uint32_t, uint16_t>> path;
  uint64_t generation = 0;
};

class NtxIndex {
 public:
  ~NtxIndex();

  // Builds a new index file at path from the items (sorted here), bottom-up.
  // The file is written under a temporary name and renamed into place, so an
  // existing index stays whole until the new one is complete.
  static Status Build(FileSystem* fs, const std::string& path, const NtxMeta& meta,
                      NtxKeyList* items);

  // Opens an existing index. Reads the header only; Corruption when it is
  // not a valid index header.
  static Status Open(FileSystem* fs, const std::string& path, bool writable,
                     std::unique_ptr<NtxIndex>* index);

  const NtxMeta& meta() const { return meta_; }
  uint16_t key_size() const { return meta_.key_size; }
  const std::string& path() const;
  // The header's change counter, raised once per flush that wrote changes.
  uint32_t version() const { return version_; }

  // Positioning. Each leaves pos->valid false when there is no such item.
  Status First(NtxPosition* pos);
  Status Last(NtxPosition* pos);
  Status Next(NtxPosition* pos);
  Status Prev(NtxPosition* pos);
  // First item whose key, cut to prefix.size() bytes, is >= prefix
  // (REQUIRES prefix.size() <= key_size()), and among equal keys the first
  // with a record number >= min_recno.
  Status Seek(std::string_view prefix, uint32_t min_recno, NtxPosition* pos);

  // Changes. REQUIRES: key.size() == key_size(). Remove of an item that is
  // not there is Corruption (the index is out of step with its table).
  Status Insert(std::string_view key, uint32_t recno);
  Status Remove(std::string_view key, uint32_t recno);

  // Writes changed pages and the header. Changes are kept in memory until
  // then; Flush touches only the pages that changed.
  Status Flush();

  // Walks the whole tree checking page structure and order; appends every
  // item in order to *items when not null. Corruption describes the first
  // fault found.
  Status Verify(NtxKeyList* items);

 private:
  NtxIndex();
  struct Impl;
  std::unique_ptr<Impl> impl_;
  NtxMeta meta_;
  uint32_t version_ = 0;
};

}  // namespace kpr
