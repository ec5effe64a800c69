#include "store/ntx_tree.h"

#include <cstring>

namespace kpr {
namespace {

constexpr uint32_t kPage = NtxGeometry::kPageSize;

}  // namespace

NtxTree::NtxTree(File* file, const NtxHeader& header, const char* raw_header,
                 uint64_t file_end, size_t cache_pages)
    : file_(file),
      header_(header),
      raw_header_(raw_header, raw_header + kPage),
      file_end_(file_end),
      cache_(file, cache_pages) {}

Status NtxTree::Fault(uint32_t offset, const std::string& what) const {
  return Status::Corruption(file_->path() + ": index page at offset " + std::to_string(offset) +
                            ": " + what);
}

Status NtxTree::GetPage(uint32_t offset, Page** page) {
  KPR_RETURN_IF_ERROR(cache_.Get(offset, page));
  if (!(*page)->checked) {
    const std::string why = NtxPage((*page)->data, &header_.geometry).Check(file_end_);
    if (!why.empty()) return Fault(offset, why);
    (*page)->checked = true;
  }
  return Status::OK();
}

Status NtxTree::ReadPage(uint32_t offset, char* dst) { return cache_.Peek(offset, dst); }

Status NtxTree::Allocate(Page** page) {
  uint32_t offset;
  if (header_.free_head != 0) {
    offset = header_.free_head;
    Page* free_page = nullptr;
    KPR_RETURN_IF_ERROR(cache_.Get(offset, &free_page));
    const uint32_t next = NtxGet32(free_page->data);
    if (next != 0 && (next % kPage != 0 || next >= file_end_ || next == offset)) {
      return Fault(offset, "the free page list is broken");
    }
    header_.free_head = next;
  } else {
    if (file_end_ > UINT32_MAX - kPage) {
      return Status::IOError(file_->path() + ": the index file has reached its largest size");
    }
    offset = static_cast<uint32_t>(file_end_);
    file_end_ += kPage;
  }
  header_changed_ = true;
  *page = cache_.Create(offset);
  NtxPage((*page)->data, &header_.geometry).Clear();
  (*page)->checked = true;
  return Status::OK();
}

void NtxTree::FreePage(uint32_t offset) {
  Page* p = cache_.Create(offset);
  NtxPut32(p->data, header_.free_head);
  header_.free_head = offset;
  header_changed_ = true;
}

// --- Walking ---------------------------------------------------------------

Status NtxTree::DescendLeft(uint32_t offset, Path* path) {
  while (true) {
    if (path->size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(offset, &p));
    NtxPage page(p->data, &header_.geometry);
    path->emplace_back(offset, 0);
    if (page.is_leaf()) return SettleForward(path);
    offset = page.child(0);
  }
}

Status NtxTree::DescendRight(uint32_t offset, Path* path) {
  while (true) {
    if (path->size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(offset, &p));
    NtxPage page(p->data, &header_.geometry);
    path->emplace_back(offset, page.count());
    if (page.is_leaf()) return SettleBackward(path);
    offset = page.child(page.count());
  }
}

// From a step whose index may be one past the page's items, climbs to the
// first step that names an item.
Status NtxTree::SettleForward(Path* path) {
  while (!path->empty()) {
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(path->back().first, &p));
    if (path->back().second < NtxPage(p->data, &header_.geometry).count()) return Status::OK();
    path->pop_back();
  }
  return Status::OK();
}

// From a step whose index is one past the wanted item, moves to the item
// before it, climbing while there is none in the page.
Status NtxTree::SettleBackward(Path* path) {
  while (!path->empty()) {
    if (path->back().second > 0) {
      --path->back().second;
      return Status::OK();
    }
    path->pop_back();
  }
  return Status::OK();
}

Status NtxTree::First(Path* path) {
  path->clear();
  return DescendLeft(header_.root, path);
}

Status NtxTree::Last(Path* path) {
  path->clear();
  return DescendRight(header_.root, path);
}

Status NtxTree::Next(Path* path) {
  Page* p = nullptr;
  KPR_RETURN_IF_ERROR(GetPage(path->back().first, &p));
  NtxPage page(p->data, &header_.geometry);
  const uint16_t i = ++path->back().second;
  if (page.is_leaf()) return SettleForward(path);
  return DescendLeft(page.child(i), path);
}

Status NtxTree::Prev(Path* path) {
  Page* p = nullptr;
  KPR_RETURN_IF_ERROR(GetPage(path->back().first, &p));
  NtxPage page(p->data, &header_.geometry);
  if (page.is_leaf()) return SettleBackward(path);
  return DescendRight(page.child(path->back().second), path);
}

Status NtxTree::LowerBound(std::string_view key, uint32_t recno, Path* path) {
  path->clear();
  uint32_t offset = header_.root;
  while (true) {
    if (path->size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(offset, &p));
    NtxPage page(p->data, &header_.geometry);
    const int i = page.LowerBound(key, recno);
    path->emplace_back(offset, static_cast<uint16_t>(i));
    if (i < page.count() && NtxCompare(page.key(i), page.recno(i), key, recno) == 0) {
      return Status::OK();
    }
    if (page.is_leaf()) return SettleForward(path);
    offset = page.child(i);
  }
}

Status NtxTree::ItemAt(const Path& path, std::string* key, uint32_t* recno) {
  Page* p = nullptr;
  KPR_RETURN_IF_ERROR(GetPage(path.back().first, &p));
  NtxPage page(p->data, &header_.geometry);
  key->assign(page.key(path.back().second));
  *recno = page.recno(path.back().second);
  return Status::OK();
}

// --- Changing --------------------------------------------------------------

Status NtxTree::Insert(std::string_view key, uint32_t recno) {
  Path path;
  uint32_t offset = header_.root;
  while (true) {
    if (path.size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(offset, &p));
    NtxPage page(p->data, &header_.geometry);
    const int i = page.LowerBound(key, recno);
    if (i < page.count() && NtxCompare(page.key(i), page.recno(i), key, recno) == 0) {
      return Status::Corruption(file_->path() + ": record " + std::to_string(recno) +
                                " is already in the index under the same key");
    }
    path.emplace_back(offset, static_cast<uint16_t>(i));
    if (page.is_leaf()) break;
    offset = page.child(i);
  }
  return InsertAt(&path, path.size() - 1, 0, std::string(key), recno);
}

Status NtxTree::InsertAt(Path* path, size_t level, uint32_t child, std::string key,
                         uint32_t recno) {
  const NtxGeometry& geo = header_.geometry;
  std::vector<NtxItem> items;
  while (true) {
    const auto [offset, i] = (*path)[level];
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(offset, &p));
    NtxPage page(p->data, &geo);
    Dirty(p);
    if (page.count() < geo.max_items) {
      page.Insert(i, child, recno, key);
      return Status::OK();
    }
    // Full: the max + 1 items split into a new left page, a middle item
    // that goes up, and this page, which keeps the right half.
    items.clear();
    page.Extract(&items);
    const uint32_t rightmost = items.back().child;
    items.pop_back();
    items.insert(items.begin() + i, NtxItem{child, recno, key});
    const size_t mid = items.size() / 2;
    // Every new page is taken before anything changes, so that a failure
    // leaves the tree as it was.
    Page* left = nullptr;
    Page* root = nullptr;
    KPR_RETURN_IF_ERROR(Allocate(&left));
    if (level == 0) KPR_RETURN_IF_ERROR(Allocate(&root));
    NtxPage(left->data, &geo).Assign(items, 0, mid, items[mid].child);
    page.Assign(items, mid + 1, items.size(), rightmost);
    child = left->offset;
    key = std::move(items[mid].key);
    recno = items[mid].recno;
    if (level == 0) {
      NtxPage top(root->data, &geo);
      top.Insert(0, child, recno, key);
      top.set_child(1, offset);
      header_.root = root->offset;
      header_changed_ = true;
      return Status::OK();
    }
    --level;
  }
}

Status NtxTree::Remove(std::string_view key, uint32_t recno) {
  const NtxGeometry& geo = header_.geometry;
  Path path;
  uint32_t offset = header_.root;
  Page* found = nullptr;
  while (true) {
    if (path.size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
    KPR_RETURN_IF_ERROR(GetPage(offset, &found));
    NtxPage page(found->data, &geo);
    const int i = page.LowerBound(key, recno);
    path.emplace_back(offset, static_cast<uint16_t>(i));
    if (i < page.count() && NtxCompare(page.key(i), page.recno(i), key, recno) == 0) break;
    if (page.is_leaf()) {
      return Status::Corruption(file_->path() + ": record " + std::to_string(recno) +
                                " is not in the index under the given key");
    }
    offset = page.child(i);
  }
  NtxPage page(found->data, &geo);
  const int i = path.back().second;
  Dirty(found);
  if (page.is_leaf()) {
    page.Erase(i);
  } else {
    // Take the item's place with the last item of its left subtree, which
    // is in a leaf, and remove that one from the leaf.
    offset = page.child(i);
    Page* leaf = nullptr;
    while (true) {
      if (path.size() >= kMaxDepth) return Fault(offset, "the tree is too deep (a loop?)");
      KPR_RETURN_IF_ERROR(GetPage(offset, &leaf));
      NtxPage below(leaf->data, &geo);
      path.emplace_back(offset, below.count());
      if (below.is_leaf()) break;
      offset = below.child(below.count());
    }
    NtxPage last(leaf->data, &geo);
    if (last.count() == 0) return Fault(leaf->offset, "empty page below the root");
    const int k = last.count() - 1;
    page.SetItem(i, last.key(k), last.recno(k));
    Dirty(leaf);
    last.Erase(k);
    path.back().second = static_cast<uint16_t>(k);
  }
  for (size_t level = path.size() - 1; level > 0; --level) {
    Page* p = nullptr;
    KPR_RETURN_IF_ERROR(GetPage(path[level].first, &p));
    if (NtxPage(p->data, &geo).count() >= header_.geometry.half_page) break;
    KPR_RETURN_IF_ERROR(Refill(path, level));
  }
  // A root left without items but with a child hands the root over to it.
  Page* root = nullptr;
  KPR_RETURN_IF_ERROR(GetPage(header_.root, &root));
  NtxPage top(root->data, &geo);
  if (top.count() == 0 && !top.is_leaf()) {
    const uint32_t old_root = header_.root;
    header_.root = top.child(0);
    header_changed_ = true;
    FreePage(old_root);
  }
  return Status::OK();
}

Status NtxTree::Refill(const Path& path, size_t level) {
  const NtxGeometry& geo = header_.geometry;
  const uint32_t offset = path[level].first;
  const auto [parent_offset, j] = path[level - 1];
  Page *pp = nullptr, *cp = nullptr;
  KPR_RETURN_IF_ERROR(GetPage(parent_offset, &pp));
  KPR_RETURN_IF_ERROR(GetPage(offset, &cp));
  NtxPage parent(pp->data, &geo);
  NtxPage page(cp->data, &geo);
  if (parent.count() == 0 || parent.child(j) != offset) {
    return Fault(parent_offset, "branch page does not lead where the path went");
  }
  Dirty(pp);
  Dirty(cp);
  Page* lp = nullptr;
  if (j > 0) {
    KPR_RETURN_IF_ERROR(GetPage(parent.child(j - 1), &lp));
    NtxPage left(lp->data, &geo);
    const int n = left.count();
    if (n > geo.half_page) {  // rotate one item through the parent
      Dirty(lp);
      page.Insert(0, left.child(n), parent.recno(j - 1), parent.key(j - 1));
      parent.SetItem(j - 1, left.key(n - 1), left.recno(n - 1));
      left.set_child(n, left.child(n - 1));
      left.Erase(n - 1);
      return Status::OK();
    }
  }
  Page* rp = nullptr;
  if (j < parent.count()) {
    KPR_RETURN_IF_ERROR(GetPage(parent.child(j + 1), &rp));
    NtxPage right(rp->data, &geo);
    if (right.count() > geo.half_page) {
      Dirty(rp);
      const int n = page.count();
      page.Insert(n, page.child(n), parent.recno(j), parent.key(j));
      page.set_child(n + 1, right.child(0));
      parent.SetItem(j, right.key(0), right.recno(0));
      right.Erase(0);
      return Status::OK();
    }
  }
  // Neither sibling can spare an item: merge with one of them, the
  // separator coming down between the two.
  const int sep = lp != nullptr ? j - 1 : j;
  Page* a = lp != nullptr ? lp : cp;
  Page* b = lp != nullptr ? cp : rp;
  if (b == nullptr) return Fault(parent_offset, "branch page without a sibling to merge with");
  std::vector<NtxItem> items;
  NtxPage(a->data, &geo).Extract(&items);
  items.back().recno = parent.recno(sep);
  items.back().key = std::string(parent.key(sep));
  NtxPage(b->data, &geo).Extract(&items);
  const uint32_t rightmost = items.back().child;
  items.pop_back();
  if (items.size() > geo.max_items) return Fault(parent_offset, "pages too full to merge");
  Dirty(b);
  NtxPage(b->data, &geo).Assign(items, 0, items.size(), rightmost);
  parent.Erase(sep);  // its child (page a) goes; b takes slot sep
  FreePage(a->offset);
  return Status::OK();
}

Status NtxTree::Flush() {
  if (!cache_.has_dirty() && !header_changed_) return Status::OK();
  KPR_RETURN_IF_ERROR(cache_.WriteDirty());
  NtxHeader next = header_;
  next.version = static_cast<uint16_t>(header_.version + 1);
  next.Encode(raw_header_.data());
  KPR_RETURN_IF_ERROR(file_->Write(0, raw_header_.data(), kPage));
  header_ = next;
  header_changed_ = false;
  return Status::OK();
}

}  // namespace kpr
