#include "store/ntx_verifier.h"

namespace kpr {

Status NtxVerifier::Fault(uint32_t offset, const std::string& what) const {
  return Status::Corruption(tree_->file_path() + ": index page at offset " +
                            std::to_string(offset) + ": " + what);
}

Status NtxVerifier::Run(NtxKeyList* items) {
  items_ = items;
  KPR_RETURN_IF_ERROR(Visit(tree_->header().root, 1));
  return CheckFreeList();
}

Status NtxVerifier::Visit(uint32_t offset, size_t depth) {
  if (depth > NtxTree::kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
  if (!tree_pages_.insert(offset).second) return Fault(offset, "page is reached twice");
  char data[NtxGeometry::kPageSize];
  KPR_RETURN_IF_ERROR(tree_->ReadPage(offset, data));
  const NtxGeometry& geo = tree_->header().geometry;
  NtxPage page(data, &geo);
  const std::string why = page.Check(tree_->file_end());
  if (!why.empty()) return Fault(offset, why);
  const int n = page.count();
  if (n == 0 && depth > 1) return Fault(offset, "page below the root holds no items");
  if (n == 0 && !page.is_leaf()) return Fault(offset, "root without items has a child");
  if (page.is_leaf()) {
    if (leaf_depth_ == 0) leaf_depth_ = depth;
    if (leaf_depth_ != depth) return Fault(offset, "leaves lie at different depths");
  }
  for (int i = 0; i <= n; ++i) {
    if (!page.is_leaf()) KPR_RETURN_IF_ERROR(Visit(page.child(i), depth + 1));
    if (i == n) break;
    const std::string_view key = page.key(i);
    const uint32_t recno = page.recno(i);
    if (have_previous_ && NtxCompare(previous_key_, previous_recno_, key, recno) >= 0) {
      return Fault(offset, "item " + std::to_string(i) + " (record " + std::to_string(recno) +
                               ") is out of order");
    }
    have_previous_ = true;
    previous_key_.assign(key);
    previous_recno_ = recno;
    if (items_ != nullptr) items_->Add(key, recno);
  }
  return Status::OK();
}

Status NtxVerifier::CheckFreeList() {
  const uint64_t pages = tree_->file_end() / NtxGeometry::kPageSize;
  std::unordered_set<uint32_t> seen;
  uint32_t offset = tree_->header().free_head;
  while (offset != 0) {
    if (offset % NtxGeometry::kPageSize != 0 || offset >= tree_->file_end()) {
      return Status::Corruption(tree_->file_path() + ": free page offset " +
                                std::to_string(offset) + " is not a page inside the file");
    }
    if (tree_pages_.count(offset) != 0) return Fault(offset, "free page is also in the tree");
    if (!seen.insert(offset).second || seen.size() > pages) {
      return Fault(offset, "the free page list runs in a circle");
    }
    char data[NtxGeometry::kPageSize];
    KPR_RETURN_IF_ERROR(tree_->ReadPage(offset, data));
    offset = NtxGet32(data);
  }
  return Status::OK();
}

}  // namespace kpr
