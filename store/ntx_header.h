// Page 0 of an .ntx file (docs/ntx.md has the byte table).
//
//   0    uint16  signature: 6 (Clipper 5 style; 3, the older style, is read too)
//   2    uint16  indexing version: raised by every flush that changed the file
//   4    uint32  file offset of the root page
//   8    uint32  file offset of the first free page (0: none); each free page
//                holds the offset of the next one in its first 4 bytes
//   12   uint16  item size (key size + 8)
//   14   uint16  key size
//   16   uint16  decimals of a numeric key
//   18   uint16  max items per page
//   20   uint16  half page: the fewest items of a page other than the root
//   22   256     key expression, NUL terminated
//   278  uint8   unique flag (1: one item per key)
//   279  uint8   0
//   280  uint8   descending flag (1: readers walk the tree backwards)
//   281  uint8   0
//   282  256     filter ("for") expression, NUL terminated, empty for none
//   538  486     zero
#pragma once

#include <cstdint>
#include <string>

#include "store/ntx_page.h"

namespace kpr {

struct NtxHeader {
  static constexpr uint16_t kSignature = 6;
  static constexpr size_t kExpressionBytes = 256;  // including the NUL

  uint16_t signature = kSignature;
  uint16_t version = 1;
  uint32_t root = 0;
  uint32_t free_head = 0;
  NtxGeometry geometry;
  uint16_t decimals = 0;
  std::string expression;
  std::string filter;
  bool unique = false;
  bool descending = false;

  // Writes the header into a zeroed 1024-byte page.
  void Encode(char* page) const;
  // Reads a header page of a file whose whole pages end at file_end. Empty
  // string when it is valid, otherwise what is wrong with it.
  std::string Decode(const char* page, uint64_t file_end);
};

}  // namespace kpr
