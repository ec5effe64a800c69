// A read cache of fixed-size blocks of one file, least recently used out.
//
// Reads of records in index order jump around the table file; the cache
// turns them into a few large reads. Writes go straight to the file and are
// copied into resident blocks, so the cache never holds unwritten data.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "store/file.h"

namespace kpr {

class BlockCache {
 public:
  static constexpr size_t kBlockSize = 32 * 1024;

  BlockCache(File* file, size_t capacity_bytes);

  // Reads exactly n bytes at offset (a short file is Corruption).
  Status Read(uint64_t offset, size_t n, char* dst);
  // Writes through to the file, then updates resident blocks.
  Status Write(uint64_t offset, const char* src, size_t n);
  void Clear();
  void set_capacity(size_t bytes);
  size_t resident_bytes() const { return blocks_.size() * kBlockSize; }

 private:
  struct Block {
    char* data = nullptr;  // a slot of one of chunks_
    size_t len = 0;  // valid bytes (the last block of a file is short)
    std::list<uint64_t>::iterator lru;
  };
  Status Load(uint64_t index, Block** block);
  char* TakeSlot();
  void Evict();

  struct ChunkFree {
    void operator()(char* p) const;
  };
  // Blocks live in large chunks, allocated as the cache grows and kept for
  // reuse: a walk through a big table then costs few page faults.
  static constexpr size_t kChunkBytes = 2u << 20;

  File* file_;
  size_t capacity_blocks_;
  std::unordered_map<uint64_t, Block> blocks_;
  std::list<uint64_t> lru_;  // front = most recently used
  std::vector<std::unique_ptr<char, ChunkFree>> chunks_;
  std::vector<char*> free_slots_;
};

}  // namespace kpr
