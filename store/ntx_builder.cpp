#include "store/ntx_builder.h"

#include <cstring>

namespace kpr {
namespace {

constexpr size_t kPage = NtxGeometry::kPageSize;
constexpr size_t kBufferPages = 1024;  // 1 MB per write

}  // namespace

NtxBuilder::NtxBuilder(File* file, const NtxHeader& header, const NtxKeyList& items)
    : file_(file), header_(header), items_(items), next_offset_(kPage), buffer_offset_(kPage) {
  buffer_.reserve(kBufferPages * kPage);
}

Status NtxBuilder::Write(File* file, NtxHeader header, const NtxKeyList& items) {
  NtxBuilder b(file, header, items);
  // capacity[h] = max + (max + 1) * capacity[h - 1]: the height is the
  // least whose full tree holds every item.
  const uint64_t max = header.geometry.max_items;
  b.capacity_ = {0, max};
  while (b.capacity_.back() < items.size()) {
    b.capacity_.push_back(max + (max + 1) * b.capacity_.back());
  }
  const int height = static_cast<int>(b.capacity_.size()) - 1;
  uint32_t root = 0;
  KPR_RETURN_IF_ERROR(b.Subtree(height, items.size(), &root));
  KPR_RETURN_IF_ERROR(b.FlushBuffer());
  b.header_.root = root;
  b.header_.free_head = 0;
  char page[kPage] = {};
  b.header_.Encode(page);
  return file->Write(0, page, kPage);
}

Status NtxBuilder::Subtree(int height, uint64_t n, uint32_t* page_offset) {
  char data[kPage];
  NtxPage page(data, &header_.geometry);
  page.Clear();
  if (height == 1) {
    for (uint64_t i = 0; i < n; ++i, ++next_item_) {
      page.Insert(static_cast<int>(i), 0, items_.recno(next_item_), items_.key(next_item_));
    }
    return Emit(data, page_offset);
  }
  // The fewest children whose full subtrees hold n items with the
  // separators between them; then the items spread evenly over them.
  const uint64_t below = capacity_[height - 1];
  const uint64_t children = (n + 1 + below) / (below + 1);
  const uint64_t spread = n - (children - 1);
  for (uint64_t c = 0; c < children; ++c) {
    const uint64_t share = spread / children + (c < spread % children ? 1 : 0);
    uint32_t child = 0;
    KPR_RETURN_IF_ERROR(Subtree(height - 1, share, &child));
    if (c + 1 < children) {
      page.Insert(static_cast<int>(c), child, items_.recno(next_item_), items_.key(next_item_));
      ++next_item_;
    } else {
      page.set_child(static_cast<int>(c), child);
    }
  }
  return Emit(data, page_offset);
}

Status NtxBuilder::Emit(const char* page, uint32_t* offset) {
  if (next_offset_ > UINT32_MAX - kPage) {
    return Status::InvalidArgument(file_->path() + ": too many items for one index file");
  }
  *offset = static_cast<uint32_t>(next_offset_);
  next_offset_ += kPage;
  buffer_.insert(buffer_.end(), page, page + kPage);
  if (buffer_.size() >= kBufferPages * kPage) return FlushBuffer();
  return Status::OK();
}

Status NtxBuilder::FlushBuffer() {
  if (buffer_.empty()) return Status::OK();
  KPR_RETURN_IF_ERROR(file_->Write(buffer_offset_, buffer_.data(), buffer_.size()));
  buffer_offset_ += buffer_.size();
  buffer_.clear();
  return Status::OK();
}

}  // namespace kpr
