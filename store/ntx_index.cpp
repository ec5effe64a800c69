#include "store/ntx_index.h"

#include <atomic>

#include "store/ntx_builder.h"
#include "store/ntx_header.h"
#include "store/ntx_tree.h"
#include "store/ntx_verifier.h"

namespace kpr {
namespace {

constexpr size_t kCachePages = 4096;  // 4 MB of clean pages per open index

// Every change to any index takes a new number, so a position can tell
// whether the tree it walked has changed since (even across indexes).
std::atomic<uint64_t> g_generation{0};
uint64_t NewGeneration() { return ++g_generation; }

}  // namespace

struct NtxIndex::Impl {
  std::string path;
  std::unique_ptr<File> file;
  bool writable = false;
  std::unique_ptr<NtxTree> tree;
  uint64_t generation = 0;

  // Fills *pos from a path (empty: no item).
  Status Fill(NtxTree::Path* path, NtxPosition* pos) {
    pos->generation = generation;
    if (path->empty()) {
      pos->valid = false;
      pos->path.clear();
      return Status::OK();
    }
    Status s = tree->ItemAt(*path, &pos->key, &pos->recno);
    pos->valid = s.ok();
    if (&pos->path != path) pos->path = std::move(*path);
    return s;
  }

  // Leaves a position invalid when a step fails.
  static Status Fail(Status s, NtxPosition* pos) {
    if (!s.ok()) pos->valid = false;
    return s;
  }
};

NtxIndex::NtxIndex() : impl_(std::make_unique<Impl>()) {}
NtxIndex::~NtxIndex() = default;

const std::string& NtxIndex::path() const { return impl_->path; }

Status NtxIndex::Build(FileSystem* fs, const std::string& path, const NtxMeta& meta,
                       NtxKeyList* items) {
  auto bad = [&](const std::string& why) { return Status::InvalidArgument(path + ": " + why); };
  if (meta.key_size != items->key_size()) return bad("key size differs from the items' key size");
  NtxHeader header;
  header.geometry = NtxGeometry::ForKeySize(meta.key_size);
  if (header.geometry.max_items == 0) {
    return bad("a key of " + std::to_string(meta.key_size) + " bytes does not fit an index page");
  }
  for (const std::string* text : {&meta.expression, &meta.filter}) {
    if (text->size() >= NtxHeader::kExpressionBytes || text->find('\0') != std::string::npos) {
      return bad("expression \"" + *text + "\" is too long for the index header");
    }
  }
  if (meta.expression.empty()) return bad("the key expression is empty");
  header.decimals = meta.decimals;
  header.expression = meta.expression;
  header.filter = meta.filter;
  header.unique = meta.unique;
  header.descending = meta.descending;

  items->Sort();
  for (size_t i = 1; i < items->size(); ++i) {
    if (items->recno(i) == items->recno(i - 1) && items->key(i) == items->key(i - 1)) {
      return bad("record " + std::to_string(items->recno(i)) + " is given twice with one key");
    }
  }

  // Written beside the old file, which stays whole until the rename.
  const std::string temp = path + ".tmp";
  std::unique_ptr<File> file;
  KPR_RETURN_IF_ERROR(fs->Open(temp, OpenMode::kCreate, &file));
  Status s = NtxBuilder::Write(file.get(), header, *items);
  if (s.ok()) s = file->Sync();
  file.reset();
  if (s.ok()) s = fs->Rename(temp, path);
  if (!s.ok()) {
    fs->Remove(temp);  // best effort; the error that matters is s
    return s;
  }
  return fs->SyncDir(DirName(path));
}

Status NtxIndex::Open(FileSystem* fs, const std::string& path, bool writable,
                      std::unique_ptr<NtxIndex>* index) {
  std::unique_ptr<NtxIndex> result(new NtxIndex());
  Impl& impl = *result->impl_;
  impl.path = path;
  impl.writable = writable;
  KPR_RETURN_IF_ERROR(
      fs->Open(path, writable ? OpenMode::kReadWrite : OpenMode::kReadOnly, &impl.file));
  uint64_t size = 0;
  KPR_RETURN_IF_ERROR(impl.file->Size(&size));
  if (size < 2 * NtxGeometry::kPageSize) {
    return Status::Corruption(path + ": file of " + std::to_string(size) +
                              " bytes is too short for an index");
  }
  const uint64_t file_end = size - size % NtxGeometry::kPageSize;
  char raw[NtxGeometry::kPageSize];
  KPR_RETURN_IF_ERROR(ReadExact(impl.file.get(), 0, sizeof(raw), raw));
  NtxHeader header;
  const std::string why = header.Decode(raw, file_end);
  if (!why.empty()) return Status::Corruption(path + ": index header: " + why);

  result->meta_.expression = header.expression;
  result->meta_.filter = header.filter;
  result->meta_.key_size = header.geometry.key_size;
  result->meta_.decimals = header.decimals;
  result->meta_.unique = header.unique;
  result->meta_.descending = header.descending;
  result->version_ = header.version;
  impl.tree = std::make_unique<NtxTree>(impl.file.get(), header, raw, file_end, kCachePages);
  impl.generation = NewGeneration();
  *index = std::move(result);
  return Status::OK();
}

Status NtxIndex::First(NtxPosition* pos) {
  impl_->tree->Trim();
  NtxTree::Path path;
  KPR_RETURN_IF_ERROR(Impl::Fail(impl_->tree->First(&path), pos));
  return impl_->Fill(&path, pos);
}

Status NtxIndex::Last(NtxPosition* pos) {
  impl_->tree->Trim();
  NtxTree::Path path;
  KPR_RETURN_IF_ERROR(Impl::Fail(impl_->tree->Last(&path), pos));
  return impl_->Fill(&path, pos);
}

Status NtxIndex::Next(NtxPosition* pos) {
  if (!pos->valid) return Status::OK();
  if (pos->key.size() != key_size()) return Status::InvalidArgument(path() + ": foreign position");
  NtxTree& tree = *impl_->tree;
  tree.Trim();
  if (pos->generation == impl_->generation) {
    KPR_RETURN_IF_ERROR(Impl::Fail(tree.Next(&pos->path), pos));
    return impl_->Fill(&pos->path, pos);
  }
  // The tree changed: find the item again, or the first one after it.
  NtxTree::Path path;
  KPR_RETURN_IF_ERROR(Impl::Fail(tree.LowerBound(pos->key, pos->recno, &path), pos));
  if (!path.empty()) {
    std::string key;
    uint32_t recno = 0;
    KPR_RETURN_IF_ERROR(Impl::Fail(tree.ItemAt(path, &key, &recno), pos));
    if (recno == pos->recno && key == pos->key) {
      KPR_RETURN_IF_ERROR(Impl::Fail(tree.Next(&path), pos));
    }
  }
  return impl_->Fill(&path, pos);
}

Status NtxIndex::Prev(NtxPosition* pos) {
  if (!pos->valid) return Status::OK();
  if (pos->key.size() != key_size()) return Status::InvalidArgument(path() + ": foreign position");
  NtxTree& tree = *impl_->tree;
  tree.Trim();
  if (pos->generation == impl_->generation) {
    KPR_RETURN_IF_ERROR(Impl::Fail(tree.Prev(&pos->path), pos));
    return impl_->Fill(&pos->path, pos);
  }
  // The tree changed: the item before the first one not below ours.
  NtxTree::Path path;
  KPR_RETURN_IF_ERROR(Impl::Fail(tree.LowerBound(pos->key, pos->recno, &path), pos));
  KPR_RETURN_IF_ERROR(Impl::Fail(path.empty() ? tree.Last(&path) : tree.Prev(&path), pos));
  return impl_->Fill(&path, pos);
}

Status NtxIndex::Seek(std::string_view prefix, uint32_t min_recno, NtxPosition* pos) {
  if (prefix.size() > key_size()) {
    return Status::InvalidArgument(path() + ": search key longer than the index key");
  }
  NtxTree& tree = *impl_->tree;
  tree.Trim();
  // Keys cut to the prefix compare >= prefix exactly when the whole key is
  // >= the prefix padded with the lowest byte.
  std::string target(prefix);
  target.resize(key_size(), '\0');
  const bool whole = prefix.size() == key_size();
  NtxTree::Path path;
  KPR_RETURN_IF_ERROR(Impl::Fail(tree.LowerBound(target, whole ? min_recno : 0, &path), pos));
  if (!whole && min_recno > 0) {
    // Among keys starting with the prefix, skip records below min_recno.
    std::string key;
    uint32_t recno = 0;
    while (!path.empty()) {
      KPR_RETURN_IF_ERROR(Impl::Fail(tree.ItemAt(path, &key, &recno), pos));
      if (key.compare(0, prefix.size(), prefix) != 0 || recno >= min_recno) break;
      KPR_RETURN_IF_ERROR(Impl::Fail(tree.Next(&path), pos));
    }
  }
  return impl_->Fill(&path, pos);
}

Status NtxIndex::Insert(std::string_view key, uint32_t recno) {
  if (!impl_->writable) return Status::InvalidArgument(path() + ": index is open read-only");
  if (key.size() != key_size()) return Status::InvalidArgument(path() + ": key of wrong size");
  impl_->tree->Trim();
  impl_->generation = NewGeneration();
  return impl_->tree->Insert(key, recno);
}

Status NtxIndex::Remove(std::string_view key, uint32_t recno) {
  if (!impl_->writable) return Status::InvalidArgument(path() + ": index is open read-only");
  if (key.size() != key_size()) return Status::InvalidArgument(path() + ": key of wrong size");
  impl_->tree->Trim();
  impl_->generation = NewGeneration();
  return impl_->tree->Remove(key, recno);
}

Status NtxIndex::Flush() {
  if (!impl_->writable) return Status::OK();
  KPR_RETURN_IF_ERROR(impl_->tree->Flush());
  version_ = impl_->tree->header().version;
  return Status::OK();
}

Status NtxIndex::Verify(NtxKeyList* items) {
  if (items != nullptr && items->key_size() != key_size()) {
    return Status::InvalidArgument(path() + ": item list of another key size");
  }
  impl_->tree->Trim();
  return NtxVerifier(impl_->tree.get()).Run(items);
}

}  // namespace kpr
