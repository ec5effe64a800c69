// NtxKeyList: the items of an index build, and their sort.
//
// The sort packs each item into a fixed record (key bytes, the record
// number big-endian, zero padding) whose plain byte order is the item
// order, and sorts the records with a most-significant-byte-first radix
// sort. Byte positions where all records of a bucket agree (leading blanks
// of STR() keys, the century of a date) cost one counting pass and no
// moves; small buckets go to a comparison sort. Records of up to 32 bytes
// (keys up to 28 bytes, the usual case) are held as 64-bit words, compared
// a word at a time.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "store/ntx_index.h"

namespace kpr {
namespace {

constexpr size_t kSmallBucket = 48;

// Record of W big-endian words.
template <int W>
struct Record {
  uint64_t w[W];
  bool operator<(const Record& o) const {
    for (int k = 0; k < W; ++k) {
      if (w[k] != o.w[k]) return w[k] < o.w[k];
    }
    return false;
  }
  unsigned Byte(size_t d) const { return (w[d >> 3] >> (56 - 8 * (d & 7))) & 0xFF; }
};

// Key and record number as one sortable string of bytes: the record number
// follows the key most significant byte first.
void PutRecNo(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

uint64_t LoadBigEndian(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}
void StoreBigEndian(uint64_t v, unsigned char* p) {
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
}

// In place: each bucket is filled by following the cycles of records that
// belong elsewhere (American flag sort), so no second buffer is needed.
template <int W>
void RadixSortWords(Record<W>* a, size_t n, size_t d) {
  while (true) {
    if (n <= kSmallBucket) {
      std::sort(a, a + n);
      return;
    }
    if (d >= 8 * W) return;
    size_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[a[i].Byte(d)];
    if (count[a[0].Byte(d)] == n) {  // every record has the same byte here
      ++d;
      continue;
    }
    size_t head[256];
    size_t end[256];
    size_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      head[b] = sum;
      sum += count[b];
      end[b] = sum;
    }
    for (int b = 0; b < 256; ++b) {
      while (head[b] < end[b]) {
        Record<W> r = a[head[b]];
        unsigned rb = r.Byte(d);
        while (rb != static_cast<unsigned>(b)) {
          std::swap(r, a[head[rb]++]);
          rb = r.Byte(d);
        }
        a[head[b]++] = r;
      }
    }
    size_t start = 0;
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) RadixSortWords(a + start, count[b], d + 1);
      start += count[b];
    }
    return;
  }
}

// Packs (key, recno) items into records of W words, sorts them, unpacks.
template <int W>
void SortAsWords(size_t ks, std::vector<char>* keys, std::vector<uint32_t>* recnos) {
  const size_t n = recnos->size();
  // Left uninitialised: every record is written before it is read.
  std::unique_ptr<Record<W>[]> recs(new Record<W>[n]);
  unsigned char bytes[8 * W];
  for (size_t i = 0; i < n; ++i) {
    std::memset(bytes, 0, sizeof(bytes));
    std::memcpy(bytes, keys->data() + i * ks, ks);
    PutRecNo(bytes + ks, (*recnos)[i]);
    for (int k = 0; k < W; ++k) recs[i].w[k] = LoadBigEndian(bytes + 8 * k);
  }
  RadixSortWords(recs.get(), n, 0);
  for (size_t i = 0; i < n; ++i) {
    for (int k = 0; k < W; ++k) StoreBigEndian(recs[i].w[k], bytes + 8 * k);
    std::memcpy(keys->data() + i * ks, bytes, ks);
    (*recnos)[i] = (static_cast<uint32_t>(bytes[ks]) << 24) |
                   (static_cast<uint32_t>(bytes[ks + 1]) << 16) |
                   (static_cast<uint32_t>(bytes[ks + 2]) << 8) | bytes[ks + 3];
  }
}

// Longer keys: records of r bytes, compared with memcmp.
void RadixSortBytes(unsigned char* a, unsigned char* tmp, size_t n, size_t r, size_t d) {
  while (true) {
    if (n <= kSmallBucket) {
      std::vector<size_t> order(n);
      for (size_t i = 0; i < n; ++i) order[i] = i;
      std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        return std::memcmp(a + x * r + d, a + y * r + d, r - d) < 0;
      });
      for (size_t i = 0; i < n; ++i) std::memcpy(tmp + i * r, a + order[i] * r, r);
      std::memcpy(a, tmp, n * r);
      return;
    }
    if (d >= r) return;
    size_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[a[i * r + d]];
    if (count[a[d]] == n) {
      ++d;
      continue;
    }
    size_t next[256];
    size_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      next[b] = sum;
      sum += count[b];
    }
    for (size_t i = 0; i < n; ++i) std::memcpy(tmp + next[a[i * r + d]]++ * r, a + i * r, r);
    std::memcpy(a, tmp, n * r);
    size_t start = 0;
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) RadixSortBytes(a + start * r, tmp + start * r, count[b], r, d + 1);
      start += count[b];
    }
    return;
  }
}

void SortAsBytes(size_t ks, std::vector<char>* keys, std::vector<uint32_t>* recnos) {
  const size_t n = recnos->size();
  const size_t r = ks + 4;
  std::vector<unsigned char> recs(n * r);
  for (size_t i = 0; i < n; ++i) {
    unsigned char* rec = recs.data() + i * r;
    std::memcpy(rec, keys->data() + i * ks, ks);
    PutRecNo(rec + ks, (*recnos)[i]);
  }
  {
    std::vector<unsigned char> tmp(n * r);
    RadixSortBytes(recs.data(), tmp.data(), n, r, 0);
  }
  for (size_t i = 0; i < n; ++i) {
    const unsigned char* rec = recs.data() + i * r;
    std::memcpy(keys->data() + i * ks, rec, ks);
    (*recnos)[i] = (static_cast<uint32_t>(rec[ks]) << 24) |
                   (static_cast<uint32_t>(rec[ks + 1]) << 16) |
                   (static_cast<uint32_t>(rec[ks + 2]) << 8) | rec[ks + 3];
  }
}

}  // namespace

void NtxKeyList::Reserve(size_t n) {
  keys_.reserve(n * key_size_);
  recnos_.reserve(n);
}

void NtxKeyList::Add(std::string_view key, uint32_t recno) {
  keys_.insert(keys_.end(), key.data(), key.data() + key_size_);
  recnos_.push_back(recno);
}

void NtxKeyList::Sort() {
  if (recnos_.size() < 2) return;
  switch ((key_size_ + 4 + 7) / 8) {
    case 1: SortAsWords<1>(key_size_, &keys_, &recnos_); break;
    case 2: SortAsWords<2>(key_size_, &keys_, &recnos_); break;
    case 3: SortAsWords<3>(key_size_, &keys_, &recnos_); break;
    case 4: SortAsWords<4>(key_size_, &keys_, &recnos_); break;
    default: SortAsBytes(key_size_, &keys_, &recnos_); break;
  }
}

}  // namespace kpr
