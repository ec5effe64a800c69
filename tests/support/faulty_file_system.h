// A FileSystem over the real disk that starts failing after a budget of
// written bytes, as a full disk would: the write that crosses the budget
// writes what fits and reports an error. Renames and syncs can be made to
// fail too, to stop an operation at each of its steps.
#pragma once

#include <cstdint>
#include <memory>

#include "store/file.h"

namespace kpr::testing {

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem* base = FileSystem::Default()) : base_(base) {}

  // Bytes that may still be written; negative means no limit.
  void set_write_budget(int64_t bytes) { budget_ = bytes; }
  void set_fail_renames(bool fail) { fail_renames_ = fail; }
  int64_t bytes_written() const { return written_; }

  Status Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* file) override;
  bool Exists(const std::string& path) override { return base_->Exists(path); }
  Status Rename(const std::string& from, const std::string& to) override;
  Status Remove(const std::string& path) override { return base_->Remove(path); }
  Status ListDir(const std::string& dir, std::vector<std::string>* names) override {
    return base_->ListDir(dir, names);
  }
  Status SyncDir(const std::string& dir) override { return base_->SyncDir(dir); }
  Status CreateDir(const std::string& dir) override { return base_->CreateDir(dir); }
  Status ModTime(const std::string& path, int64_t* ns) override { return base_->ModTime(path, ns); }
  Status Lock(const std::string& path, bool exclusive, std::unique_ptr<FileLock>* lock) override {
    return base_->Lock(path, exclusive, lock);
  }

  // Called by the files this file system opened.
  Status ChargeWrite(const std::string& path, size_t n, size_t* allowed);

 private:
  FileSystem* base_;
  int64_t budget_ = -1;
  int64_t written_ = 0;
  bool fail_renames_ = false;
};

}  // namespace kpr::testing
