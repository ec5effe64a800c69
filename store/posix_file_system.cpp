// FileSystem on the real disk through POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "store/file.h"

namespace kpr {
namespace {

Status PosixError(const std::string& path, const char* what, int err) {
  std::string msg = path + ": " + what + " failed: " + std::strerror(err);
  if (err == ENOENT) return Status::NotFound(msg);
  return Status::IOError(msg);
}

class PosixFile final : public File {
 public:
  PosixFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  Status Read(uint64_t offset, size_t n, char* dst, size_t* got) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pread(fd_, dst + done, n - done, static_cast<off_t>(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        *got = done;
        return PosixError(path_, "read", errno);
      }
      if (r == 0) break;
      done += static_cast<size_t>(r);
    }
    *got = done;
    return Status::OK();
  }

  Status Write(uint64_t offset, const char* src, size_t n) override {
    size_t done = 0;
    while (done < n) {
      ssize_t r = ::pwrite(fd_, src + done, n - done, static_cast<off_t>(offset + done));
      if (r < 0) {
        if (errno == EINTR) continue;
        return PosixError(path_, "write", errno);
      }
      if (r == 0) return PosixError(path_, "write", ENOSPC);
      done += static_cast<size_t>(r);
    }
    return Status::OK();
  }

  Status Size(uint64_t* size) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return PosixError(path_, "stat", errno);
    *size = static_cast<uint64_t>(st.st_size);
    return Status::OK();
  }

  Status Truncate(uint64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return PosixError(path_, "truncate", errno);
    return Status::OK();
  }

  Status Sync() override {
    if (::fdatasync(fd_) != 0) return PosixError(path_, "sync", errno);
    return Status::OK();
  }

  const std::string& path() const override { return path_; }

 private:
  std::string path_;
  int fd_;
};

class PosixLock final : public FileLock {
 public:
  explicit PosixLock(int fd) : fd_(fd) {}
  ~PosixLock() override {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }

 private:
  int fd_;
};

class PosixFileSystem final : public FileSystem {
 public:
  Status Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* file) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kReadOnly: flags |= O_RDONLY; break;
      case OpenMode::kReadWrite: flags |= O_RDWR; break;
      case OpenMode::kCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return PosixError(path, "open", errno);
    *file = std::make_unique<PosixFile>(path, fd);
    return Status::OK();
  }

  bool Exists(const std::string& path) override { return ::access(path.c_str(), F_OK) == 0; }

  Status Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return PosixError(to, "rename", errno);
    return Status::OK();
  }

  Status Remove(const std::string& path) override {
    if (::unlink(path.c_str()) != 0) return PosixError(path, "remove", errno);
    return Status::OK();
  }

  Status ListDir(const std::string& dir, std::vector<std::string>* names) override {
    names->clear();
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return PosixError(dir, "list directory", errno);
    while (struct dirent* e = ::readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names->push_back(std::move(n));
    }
    ::closedir(d);
    return Status::OK();
  }

  Status SyncDir(const std::string& dir) override {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return PosixError(dir, "open directory", errno);
    int r = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (r != 0) return PosixError(dir, "sync directory", err);
    return Status::OK();
  }

  Status CreateDir(const std::string& dir) override {
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
      return PosixError(dir, "create directory", errno);
    }
    return Status::OK();
  }

  Status ModTime(const std::string& path, int64_t* ns) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return PosixError(path, "stat", errno);
    *ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return Status::OK();
  }

  Status Lock(const std::string& path, bool exclusive, std::unique_ptr<FileLock>* lock) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return PosixError(path, "open for locking", errno);
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
      int err = errno;
      ::close(fd);
      if (err == EWOULDBLOCK) return Status::Busy(path + ": the file is in use by another program");
      return PosixError(path, "lock", err);
    }
    *lock = std::make_unique<PosixLock>(fd);
    return Status::OK();
  }
};

}  // namespace

void* AllocateLargeBuffer(size_t bytes) {
  constexpr size_t kAlign = 2u << 20;
  const size_t rounded = (bytes + kAlign - 1) / kAlign * kAlign;
  void* p = std::aligned_alloc(kAlign, rounded);
#ifdef MADV_HUGEPAGE
  if (p != nullptr) ::madvise(p, rounded, MADV_HUGEPAGE);
#endif
  return p;
}

void FreeLargeBuffer(void* buffer) { std::free(buffer); }

FileSystem* FileSystem::Default() {
  static PosixFileSystem fs;
  return &fs;
}

}  // namespace kpr
