// NtxKeyList: the items of an index build, and their sort.
//
// The sort packs each item into a fixed record (key bytes, then the record
// number big-endian, so that plain byte order is item order) and sorts the
// records with a most-significant-byte-first radix sort. Byte positions
// where all records of a bucket agree (leading blanks of STR() keys, the
// century of a date) cost one counting pass and no moves.
#include <cstring>
#include <vector>

#include "store/ntx_index.h"

namespace kpr {
namespace {

constexpr size_t kSmallBucket = 24;

// Insertion sort of n records of size r that agree on their first d bytes.
void InsertionSort(unsigned char* a, size_t n, size_t r, size_t d, unsigned char* hold) {
  for (size_t i = 1; i < n; ++i) {
    unsigned char* cur = a + i * r;
    if (std::memcmp(cur - r + d, cur + d, r - d) <= 0) continue;
    std::memcpy(hold, cur, r);
    size_t j = i;
    while (j > 0 && std::memcmp(a + (j - 1) * r + d, hold + d, r - d) > 0) --j;
    std::memmove(a + (j + 1) * r, a + j * r, (i - j) * r);
    std::memcpy(a + j * r, hold, r);
  }
}

// Sorts n records of size r that agree on their first d bytes; tmp has room
// for n records.
void RadixSort(unsigned char* a, unsigned char* tmp, size_t n, size_t r, size_t d,
               unsigned char* hold) {
  while (true) {
    if (n <= kSmallBucket) {
      InsertionSort(a, n, r, d, hold);
      return;
    }
    if (d >= r) return;
    size_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[a[i * r + d]];
    if (count[a[d]] == n) {  // every record has the same byte here
      ++d;
      continue;
    }
    size_t start[256];
    size_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      start[b] = sum;
      sum += count[b];
    }
    size_t next[256];
    std::memcpy(next, start, sizeof(next));
    for (size_t i = 0; i < n; ++i) {
      const unsigned char* rec = a + i * r;
      std::memcpy(tmp + next[rec[d]]++ * r, rec, r);
    }
    std::memcpy(a, tmp, n * r);
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) {
        RadixSort(a + start[b] * r, tmp + start[b] * r, count[b], r, d + 1, hold);
      }
    }
    return;
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
  const size_t n = recnos_.size();
  if (n < 2) return;
  const size_t ks = key_size_;
  const size_t r = ks + 4;
  std::vector<unsigned char> recs(n * r);
  for (size_t i = 0; i < n; ++i) {
    unsigned char* rec = recs.data() + i * r;
    std::memcpy(rec, keys_.data() + i * ks, ks);
    const uint32_t v = recnos_[i];
    rec[ks] = static_cast<unsigned char>(v >> 24);
    rec[ks + 1] = static_cast<unsigned char>(v >> 16);
    rec[ks + 2] = static_cast<unsigned char>(v >> 8);
    rec[ks + 3] = static_cast<unsigned char>(v);
  }
  {
    std::vector<unsigned char> tmp(n * r);
    std::vector<unsigned char> hold(r);
    RadixSort(recs.data(), tmp.data(), n, r, 0, hold.data());
  }
  for (size_t i = 0; i < n; ++i) {
    const unsigned char* rec = recs.data() + i * r;
    std::memcpy(keys_.data() + i * ks, rec, ks);
    recnos_[i] = (static_cast<uint32_t>(rec[ks]) << 24) | (static_cast<uint32_t>(rec[ks + 1]) << 16) |
                 (static_cast<uint32_t>(rec[ks + 2]) << 8) | rec[ks + 3];
  }
}

}  // namespace kpr
