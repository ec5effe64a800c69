// One 1024-byte page of an .ntx file, read and changed in place.
//
// Page layout (all integers little-endian; M = max items, S = item size =
// key size + 8):
//
//   offset            size        contents
//   0                 2           n: items in use (0..M)
//   2                 2 * (M+1)   slot table: byte offset, within the page,
//                                 of each item slot. Entries 0..n-1 name the
//                                 items in key order, entry n names the slot
//                                 whose child pointer is the rightmost child,
//                                 entries n+1..M name free slots.
//   2 + 2 * (M+1)     S * (M+1)   item slots (in any order), each:
//                                   +0 uint32 child page file offset
//                                          (0 in a leaf page)
//                                   +4 uint32 record number
//                                   +8 key bytes (key size)
//   ...               rest        unused (zero)
//
// The child of item i holds the items that sort before item i; the
// rightmost child (slot table entry n) holds those after item n-1. A leaf
// has every child pointer 0; an interior page has all n+1 of them set.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kpr {

// Sizes shared by every page of one index.
struct NtxGeometry {
  static constexpr uint32_t kPageSize = 1024;

  uint16_t key_size = 0;
  uint16_t item_size = 0;  // key_size + 8
  uint16_t max_items = 0;  // even
  uint16_t half_page = 0;  // max_items / 2: the fewest items of a non-root page

  // The layout Clipper uses for key_size: as many items as fit with their
  // slot table and the extra rightmost-child slot, rounded down to even.
  // max_items is 0 when the key is too long for a page.
  static NtxGeometry ForKeySize(uint16_t key_size);
  // Offset of the first item slot.
  uint32_t slots_begin() const { return 2 + 2 * (static_cast<uint32_t>(max_items) + 1); }
};

// An item taken out of a page, for splitting and merging.
struct NtxItem {
  uint32_t child = 0;
  uint32_t recno = 0;
  std::string key;
};

inline uint16_t NtxGet16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint16_t>(u[0] | (u[1] << 8));
}
inline uint32_t NtxGet32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(u[0]) | (static_cast<uint32_t>(u[1]) << 8) |
         (static_cast<uint32_t>(u[2]) << 16) | (static_cast<uint32_t>(u[3]) << 24);
}
inline void NtxPut16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}
inline void NtxPut32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Orders (key, recno) pairs: keys bytewise, then record numbers.
inline int NtxCompare(std::string_view a_key, uint32_t a_recno, std::string_view b_key,
                      uint32_t b_recno) {
  const int c = std::memcmp(a_key.data(), b_key.data(), a_key.size());
  if (c != 0) return c;
  return a_recno < b_recno ? -1 : (a_recno > b_recno ? 1 : 0);
}

// A view of one page's bytes. Does not own them. The accessors trust the
// page: call Check once after reading it from disk.
class NtxPage {
 public:
  NtxPage(char* data, const NtxGeometry* geo) : data_(data), geo_(geo) {}

  uint16_t count() const { return NtxGet16(data_); }
  bool is_leaf() const { return child(0) == 0; }
  // i in [0, count()]: i == count() is the rightmost child.
  uint32_t child(int i) const { return NtxGet32(slot(i)); }
  uint32_t recno(int i) const { return NtxGet32(slot(i) + 4); }
  std::string_view key(int i) const { return {slot(i) + 8, geo_->key_size}; }

  void set_child(int i, uint32_t child) { NtxPut32(slot(i), child); }
  // Replaces the key and record number of item i; its child stays.
  void SetItem(int i, std::string_view key, uint32_t recno);

  // First index whose item is >= (key, recno); count() when none is.
  int LowerBound(std::string_view key, uint32_t recno) const;

  // Makes the page empty: no items, rightmost child 0, slots in order.
  void Clear();
  // Inserts an item before index i (0..count()). REQUIRES count() < max.
  void Insert(int i, uint32_t child, uint32_t recno, std::string_view key);
  // Removes item i (0..count()-1) with its child pointer; the later items
  // and the rightmost child move down.
  void Erase(int i);

  // All items in order plus, last, the rightmost child as an item without key.
  void Extract(std::vector<NtxItem>* items) const;
  // Replaces the page by items[begin, end) and the given rightmost child.
  void Assign(const std::vector<NtxItem>& items, size_t begin, size_t end, uint32_t rightmost);

  // Empty string when the page is well formed for an index whose pages end
  // at file_end; otherwise what is wrong. Checks the item count, the slot
  // table (inside the page, no slot used twice) and the child pointers
  // (page-aligned, inside the file, not page 0, all set or all zero).
  std::string Check(uint64_t file_end) const;

 private:
  char* slot(int i) const { return data_ + NtxGet16(data_ + 2 + 2 * i); }

  char* data_;
  const NtxGeometry* geo_;
};

}  // namespace kpr
