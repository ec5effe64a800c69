#include "tests/support/faulty_file_system.h"

namespace kpr::testing {
namespace {

class FaultyFile final : public File {
 public:
  FaultyFile(FaultyFileSystem* fs, std::unique_ptr<File> base) : fs_(fs), base_(std::move(base)) {}

  Status Read(uint64_t offset, size_t n, char* dst, size_t* got) override {
    return base_->Read(offset, n, dst, got);
  }
  Status Write(uint64_t offset, const char* src, size_t n) override {
    size_t allowed = n;
    Status s = fs_->ChargeWrite(base_->path(), n, &allowed);
    if (allowed > 0) {
      Status w = base_->Write(offset, src, allowed);
      if (!w.ok()) return w;
    }
    return s;
  }
  Status Size(uint64_t* size) override { return base_->Size(size); }
  Status Truncate(uint64_t size) override { return base_->Truncate(size); }
  Status Sync() override { return base_->Sync(); }
  const std::string& path() const override { return base_->path(); }

 private:
  FaultyFileSystem* fs_;
  std::unique_ptr<File> base_;
};

}  // namespace

Status FaultyFileSystem::Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* file) {
  std::unique_ptr<File> base;
  KPR_RETURN_IF_ERROR(base_->Open(path, mode, &base));
  *file = std::make_unique<FaultyFile>(this, std::move(base));
  return Status::OK();
}

Status FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (fail_renames_) return Status::IOError(to + ": rename failed (injected)");
  return base_->Rename(from, to);
}

Status FaultyFileSystem::ChargeWrite(const std::string& path, size_t n, size_t* allowed) {
  *allowed = n;
  if (budget_ >= 0 && static_cast<int64_t>(n) > budget_) {
    *allowed = static_cast<size_t>(budget_);
    budget_ = 0;
    written_ += static_cast<int64_t>(*allowed);
    return Status::IOError(path + ": write failed: No space left on device (injected)");
  }
  if (budget_ >= 0) budget_ -= static_cast<int64_t>(n);
  written_ += static_cast<int64_t>(n);
  return Status::OK();
}

}  // namespace kpr::testing
