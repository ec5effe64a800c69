#include "store/block_cache.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kpr {

BlockCache::BlockCache(File* file, size_t capacity_bytes) : file_(file) {
  set_capacity(capacity_bytes);
}

void BlockCache::ChunkFree::operator()(char* p) const { FreeLargeBuffer(p); }

void BlockCache::set_capacity(size_t bytes) {
  capacity_blocks_ = std::max<size_t>(1, bytes / kBlockSize);
  while (blocks_.size() > capacity_blocks_) Evict();
}

void BlockCache::Evict() {
  auto it = blocks_.find(lru_.back());
  free_slots_.push_back(it->second.data);
  blocks_.erase(it);
  lru_.pop_back();
}

void BlockCache::Clear() {
  for (auto& [index, block] : blocks_) free_slots_.push_back(block.data);
  blocks_.clear();
  lru_.clear();
}

char* BlockCache::TakeSlot() {
  if (free_slots_.empty()) {
    constexpr size_t kPerChunk = kChunkBytes / kBlockSize;
    char* chunk = static_cast<char*>(AllocateLargeBuffer(kChunkBytes));
    if (chunk == nullptr) throw std::bad_alloc();
    chunks_.emplace_back(chunk);
    for (size_t i = kPerChunk; i-- > 0;) free_slots_.push_back(chunk + i * kBlockSize);
  }
  char* slot = free_slots_.back();
  free_slots_.pop_back();
  return slot;
}

Status BlockCache::Load(uint64_t index, Block** out) {
  auto it = blocks_.find(index);
  if (it != blocks_.end()) {
    lru_.splice(lru_.begin(), lru_, it->second.lru);
    *out = &it->second;
    return Status::OK();
  }
  if (blocks_.size() >= capacity_blocks_) Evict();
  Block b;
  b.data = TakeSlot();
  Status s = file_->Read(index * kBlockSize, kBlockSize, b.data, &b.len);
  if (!s.ok()) {
    free_slots_.push_back(b.data);
    return s;
  }
  lru_.push_front(index);
  b.lru = lru_.begin();
  auto [pos, inserted] = blocks_.emplace(index, std::move(b));
  *out = &pos->second;
  return Status::OK();
}

Status BlockCache::Read(uint64_t offset, size_t n, char* dst) {
  while (n > 0) {
    const uint64_t index = offset / kBlockSize;
    const size_t in_block = static_cast<size_t>(offset % kBlockSize);
    Block* b = nullptr;
    KPR_RETURN_IF_ERROR(Load(index, &b));
    const size_t take = std::min(n, kBlockSize - in_block);
    if (in_block + take > b->len) {
      return Status::Corruption(file_->path() + ": file ends early (at offset " +
                                std::to_string(index * kBlockSize + b->len) + ")");
    }
    std::memcpy(dst, b->data + in_block, take);
    dst += take;
    offset += take;
    n -= take;
  }
  return Status::OK();
}

Status BlockCache::Write(uint64_t offset, const char* src, size_t n) {
  Status s = file_->Write(offset, src, n);
  if (!s.ok()) {
    Clear();  // the file may now hold part of the write: reread it
    return s;
  }
  while (n > 0) {
    const uint64_t index = offset / kBlockSize;
    const size_t in_block = static_cast<size_t>(offset % kBlockSize);
    const size_t take = std::min(n, kBlockSize - in_block);
    auto it = blocks_.find(index);
    if (it != blocks_.end()) {
      Block& b = it->second;
      if (in_block <= b.len) {
        std::memcpy(b.data + in_block, src, take);
        b.len = std::max(b.len, in_block + take);
      } else {
        lru_.erase(b.lru);
        free_slots_.push_back(b.data);
        blocks_.erase(it);
      }
    }
    src += take;
    offset += take;
    n -= take;
  }
  return Status::OK();
}

}  // namespace kpr
