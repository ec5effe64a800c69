// A full check of one .ntx tree: every page's structure, the order of all
// items, equal depth of the leaves, no page reached twice, and a free page
// list that is finite and shares no page with the tree.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "store/ntx_index.h"
#include "store/ntx_tree.h"

namespace kpr {

class NtxVerifier {
 public:
  explicit NtxVerifier(NtxTree* tree) : tree_(tree) {}

  // Corruption describing the first fault; appends every item in order to
  // *items when not null.
  Status Run(NtxKeyList* items);

 private:
  Status Visit(uint32_t offset, size_t depth);
  Status CheckFreeList();
  Status Fault(uint32_t offset, const std::string& what) const;

  NtxTree* tree_;
  NtxKeyList* items_ = nullptr;
  std::unordered_set<uint32_t> tree_pages_;
  size_t leaf_depth_ = 0;  // 0: no leaf seen yet
  bool have_previous_ = false;
  std::string previous_key_;
  uint32_t previous_recno_ = 0;
};

}  // namespace kpr
