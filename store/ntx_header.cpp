#include "store/ntx_header.h"

#include <algorithm>
#include <cstring>

namespace kpr {
namespace {

constexpr size_t kExpressionAt = 22;
constexpr size_t kUniqueAt = 278;
constexpr size_t kDescendingAt = 280;
constexpr size_t kFilterAt = 282;

void PutText(char* dst, const std::string& text) {
  std::memcpy(dst, text.data(), std::min(text.size(), NtxHeader::kExpressionBytes - 1));
}

bool IsPage(uint32_t offset, uint64_t file_end) {
  return offset >= NtxGeometry::kPageSize && offset % NtxGeometry::kPageSize == 0 &&
         offset < file_end;
}

}  // namespace

void NtxHeader::Encode(char* page) const {
  NtxPut16(page + 0, signature);
  NtxPut16(page + 2, version);
  NtxPut32(page + 4, root);
  NtxPut32(page + 8, free_head);
  NtxPut16(page + 12, geometry.item_size);
  NtxPut16(page + 14, geometry.key_size);
  NtxPut16(page + 16, decimals);
  NtxPut16(page + 18, geometry.max_items);
  NtxPut16(page + 20, geometry.half_page);
  PutText(page + kExpressionAt, expression);
  page[kUniqueAt] = unique ? 1 : 0;
  page[kDescendingAt] = descending ? 1 : 0;
  PutText(page + kFilterAt, filter);
}

std::string NtxHeader::Decode(const char* page, uint64_t file_end) {
  signature = NtxGet16(page + 0);
  version = NtxGet16(page + 2);
  root = NtxGet32(page + 4);
  free_head = NtxGet32(page + 8);
  geometry.item_size = NtxGet16(page + 12);
  geometry.key_size = NtxGet16(page + 14);
  decimals = NtxGet16(page + 16);
  geometry.max_items = NtxGet16(page + 18);
  geometry.half_page = NtxGet16(page + 20);
  if (signature != 6 && signature != 3) {
    return "signature " + std::to_string(signature) + " is not that of an index file";
  }
  const NtxGeometry& g = geometry;
  if (g.key_size == 0 || g.item_size != g.key_size + 8) {
    return "key size " + std::to_string(g.key_size) + " and item size " +
           std::to_string(g.item_size) + " do not agree";
  }
  const uint32_t needed = 2 + (static_cast<uint32_t>(g.max_items) + 1) * (g.key_size + 10u);
  if (g.max_items < 2 || needed > NtxGeometry::kPageSize) {
    return "max items " + std::to_string(g.max_items) + " do not fit a page of keys of " +
           std::to_string(g.key_size) + " bytes";
  }
  if (g.half_page < 1 || g.half_page > g.max_items / 2) {
    return "half page " + std::to_string(g.half_page) + " is out of range";
  }
  if (!IsPage(root, file_end)) {
    return "root page offset " + std::to_string(root) + " is not a page inside the file";
  }
  if (free_head != 0 && !IsPage(free_head, file_end)) {
    return "free page offset " + std::to_string(free_head) + " is not a page inside the file";
  }
  const char* expr = page + kExpressionAt;
  const void* nul = std::memchr(expr, '\0', kExpressionBytes);
  if (nul == nullptr) return "key expression is not terminated";
  expression.assign(expr, static_cast<const char*>(nul) - expr);
  if (expression.empty()) return "key expression is empty";
  unique = page[kUniqueAt] != 0;
  descending = page[kDescendingAt] != 0;
  const char* filt = page + kFilterAt;
  filter.assign(filt, strnlen(filt, kExpressionBytes - 1));
  return std::string();
}

}  // namespace kpr
