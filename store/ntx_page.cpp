#include "store/ntx_page.h"

#include <bitset>

namespace kpr {

NtxGeometry NtxGeometry::ForKeySize(uint16_t key_size) {
  NtxGeometry g;
  g.key_size = key_size;
  g.item_size = static_cast<uint16_t>(key_size + 8);
  // count (2 bytes) + (M + 1) slot table entries (2 bytes) + (M + 1) items.
  const int per_item = key_size + 10;
  int max = key_size == 0 ? 0 : static_cast<int>(kPageSize - 2) / per_item - 1;
  if (max % 2 != 0) --max;
  if (max < 2) max = 0;
  g.max_items = static_cast<uint16_t>(max);
  g.half_page = static_cast<uint16_t>(max / 2);
  return g;
}

void NtxPage::SetItem(int i, std::string_view key, uint32_t recno) {
  char* s = slot(i);
  NtxPut32(s + 4, recno);
  std::memcpy(s + 8, key.data(), geo_->key_size);
}

int NtxPage::LowerBound(std::string_view key, uint32_t recno) const {
  int lo = 0;
  int hi = count();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (NtxCompare(this->key(mid), this->recno(mid), key, recno) < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

void NtxPage::Clear() {
  std::memset(data_, 0, NtxGeometry::kPageSize);
  const uint32_t begin = geo_->slots_begin();
  for (int i = 0; i <= geo_->max_items; ++i) {
    NtxPut16(data_ + 2 + 2 * i, static_cast<uint16_t>(begin + i * geo_->item_size));
  }
}

void NtxPage::Insert(int i, uint32_t child, uint32_t recno, std::string_view key) {
  const int n = count();
  char* table = data_ + 2;
  const uint16_t free_slot = NtxGet16(table + 2 * (n + 1));
  // Entries i..n (items and the rightmost child) move up by one.
  std::memmove(table + 2 * (i + 1), table + 2 * i, 2 * static_cast<size_t>(n + 1 - i));
  NtxPut16(table + 2 * i, free_slot);
  char* s = data_ + free_slot;
  NtxPut32(s, child);
  NtxPut32(s + 4, recno);
  std::memcpy(s + 8, key.data(), geo_->key_size);
  NtxPut16(data_, static_cast<uint16_t>(n + 1));
}

void NtxPage::Erase(int i) {
  const int n = count();
  char* table = data_ + 2;
  const uint16_t freed = NtxGet16(table + 2 * i);
  std::memmove(table + 2 * i, table + 2 * (i + 1), 2 * static_cast<size_t>(n - i));
  NtxPut16(table + 2 * n, freed);
  std::memset(data_ + freed, 0, geo_->item_size);
  NtxPut16(data_, static_cast<uint16_t>(n - 1));
}

void NtxPage::Extract(std::vector<NtxItem>* items) const {
  const int n = count();
  for (int i = 0; i < n; ++i) items->push_back({child(i), recno(i), std::string(key(i))});
  items->push_back({child(n), 0, std::string()});
}

void NtxPage::Assign(const std::vector<NtxItem>& items, size_t begin, size_t end,
                     uint32_t rightmost) {
  Clear();
  int i = 0;
  for (size_t k = begin; k < end; ++k, ++i) {
    char* s = slot(i);
    NtxPut32(s, items[k].child);
    NtxPut32(s + 4, items[k].recno);
    std::memcpy(s + 8, items[k].key.data(), geo_->key_size);
  }
  NtxPut16(data_, static_cast<uint16_t>(i));
  set_child(i, rightmost);
}

std::string NtxPage::Check(uint64_t file_end) const {
  const int n = count();
  if (n > geo_->max_items) {
    return "item count " + std::to_string(n) + " exceeds the page maximum " +
           std::to_string(geo_->max_items);
  }
  const uint32_t lowest = geo_->slots_begin();
  const uint32_t highest = NtxGeometry::kPageSize - geo_->item_size;
  std::bitset<NtxGeometry::kPageSize> used;
  for (int i = 0; i <= geo_->max_items; ++i) {
    const uint16_t off = NtxGet16(data_ + 2 + 2 * i);
    if (off < lowest || off > highest) {
      return "item slot offset " + std::to_string(off) + " lies outside the page's item area";
    }
    if (used.test(off)) return "item slot offset " + std::to_string(off) + " is used twice";
    used.set(off);
  }
  const bool leaf = child(0) == 0;
  for (int i = 0; i <= n; ++i) {
    const uint32_t c = child(i);
    if (leaf) {
      if (c != 0) return "page mixes leaf and branch items";
      continue;
    }
    if (c == 0) return "page mixes leaf and branch items";
    if (c % NtxGeometry::kPageSize != 0 || c >= file_end) {
      return "child page offset " + std::to_string(c) + " is not a page inside the file";
    }
  }
  return std::string();
}

}  // namespace kpr
