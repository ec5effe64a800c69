#include "store/ntx_page_cache.h"

#include <algorithm>
#include <cstring>

namespace kpr {
namespace {

constexpr size_t kPage = NtxGeometry::kPageSize;
constexpr size_t kMaxWriteRun = 256;  // pages per write
constexpr size_t kSpareKept = 64;

}  // namespace

NtxPageCache::NtxPageCache(File* file, size_t capacity_pages)
    : file_(file), capacity_(std::max<size_t>(capacity_pages, 16)) {}

NtxPageCache::~NtxPageCache() {
  for (auto& [offset, page] : pages_) delete page;
  for (Page* p : spare_) delete p;
}

void NtxPageCache::Link(Page* p) {
  p->older = newest_;
  p->newer = nullptr;
  if (newest_ != nullptr) newest_->newer = p;
  newest_ = p;
  if (oldest_ == nullptr) oldest_ = p;
}

void NtxPageCache::Unlink(Page* p) {
  if (p->newer != nullptr) p->newer->older = p->older;
  if (p->older != nullptr) p->older->newer = p->newer;
  if (newest_ == p) newest_ = p->older;
  if (oldest_ == p) oldest_ = p->newer;
  p->newer = p->older = nullptr;
}

NtxPageCache::Page* NtxPageCache::Allocate(uint32_t offset) {
  Page* p;
  if (!spare_.empty()) {
    p = spare_.back();
    spare_.pop_back();
  } else {
    p = new Page;
  }
  p->offset = offset;
  p->dirty = false;
  p->checked = false;
  p->newer = p->older = nullptr;
  pages_.emplace(offset, p);
  return p;
}

void NtxPageCache::Release(Page* p) {
  pages_.erase(p->offset);
  if (last_ == p) last_ = nullptr;
  if (spare_.size() < kSpareKept) {
    spare_.push_back(p);
  } else {
    delete p;
  }
}

Status NtxPageCache::Get(uint32_t offset, Page** page) {
  if (last_ != nullptr && last_->offset == offset) {
    *page = last_;
    return Status::OK();
  }
  auto it = pages_.find(offset);
  if (it != pages_.end()) {
    Page* p = it->second;
    if (!p->dirty) {
      Unlink(p);
      Link(p);
    }
    *page = last_ = p;
    return Status::OK();
  }

  // A miss.
  Page* p = Allocate(offset);
  Status s = ReadThrough(offset, p->data);
  if (!s.ok()) {
    Release(p);
    return s;
  }
  Link(p);
  *page = last_ = p;
  return Status::OK();
}

Status NtxPageCache::ReadThrough(uint32_t offset, char* dst) {
  constexpr uint64_t kWindowBytes = kWindowPages * kPage;
  const uint64_t start = offset / kWindowBytes * kWindowBytes;
  Window* w = nullptr;
  for (Window& c : windows_) {
    if (c.bytes > 0 && c.start == start) w = &c;
  }
  if (w == nullptr) {
    w = &windows_[0];
    for (Window& c : windows_) {
      if (c.used < w->used) w = &c;
    }
    w->data.resize(kWindowBytes);
    w->bytes = 0;
    size_t got = 0;
    KPR_RETURN_IF_ERROR(file_->Read(start, kWindowBytes, w->data.data(), &got));
    w->start = start;
    w->bytes = got;
  }
  w->used = ++window_clock_;
  const uint64_t at = offset - start;
  if (at + kPage > w->bytes) {
    return Status::Corruption(file_->path() + ": page at offset " + std::to_string(offset) +
                              " lies past the end of the file");
  }
  std::memcpy(dst, w->data.data() + at, kPage);
  return Status::OK();
}

Status NtxPageCache::Peek(uint32_t offset, char* dst) {
  auto it = pages_.find(offset);
  if (it != pages_.end()) {
    std::memcpy(dst, it->second->data, kPage);
    return Status::OK();
  }
  return ReadThrough(offset, dst);
}

NtxPageCache::Page* NtxPageCache::Create(uint32_t offset) {
  Page* p;
  auto it = pages_.find(offset);
  if (it != pages_.end()) {
    p = it->second;
  } else {
    p = Allocate(offset);
    Link(p);
  }
  MarkDirty(p);
  p->checked = false;
  std::memset(p->data, 0, kPage);
  return p;
}

void NtxPageCache::MarkDirty(Page* p) {
  if (p->dirty) return;
  Unlink(p);
  p->dirty = true;
  ++dirty_count_;
}

Status NtxPageCache::WriteDirty() {
  for (Window& w : windows_) w.bytes = 0;  // they would go stale
  std::vector<Page*> dirty;
  dirty.reserve(dirty_count_);
  for (auto& [offset, page] : pages_) {
    if (page->dirty) dirty.push_back(page);
  }
  std::sort(dirty.begin(), dirty.end(),
            [](const Page* a, const Page* b) { return a->offset < b->offset; });
  buffer_.resize(kMaxWriteRun * kPage);
  size_t i = 0;
  while (i < dirty.size()) {
    size_t run = 1;
    while (i + run < dirty.size() && run < kMaxWriteRun &&
           dirty[i + run]->offset == dirty[i]->offset + run * kPage) {
      ++run;
    }
    for (size_t k = 0; k < run; ++k) {
      std::memcpy(buffer_.data() + k * kPage, dirty[i + k]->data, kPage);
    }
    KPR_RETURN_IF_ERROR(file_->Write(dirty[i]->offset, buffer_.data(), run * kPage));
    for (size_t k = 0; k < run; ++k) {
      Page* p = dirty[i + k];
      p->dirty = false;
      --dirty_count_;
      Link(p);
    }
    i += run;
  }
  return Status::OK();
}

void NtxPageCache::Trim() {
  while (pages_.size() - dirty_count_ > capacity_ && oldest_ != nullptr) {
    Page* p = oldest_;
    Unlink(p);
    Release(p);
  }
}

void NtxPageCache::DropClean() {
  while (oldest_ != nullptr) {
    Page* p = oldest_;
    Unlink(p);
    Release(p);
  }
}

}  // namespace kpr
