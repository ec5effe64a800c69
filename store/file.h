// The engine's only road to the disk.
//
// Everything the table engine reads or writes goes through FileSystem and
// File, so tests can substitute an in-memory file system or one that fails
// after a given number of bytes. Paths are plain UTF-8 strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/status.h"

namespace kpr {

// An open file. Offsets are absolute; there is no file position.
class File {
 public:
  virtual ~File() = default;

  // Reads up to n bytes at offset into dst; *got receives the number read,
  // which is smaller than n only at the end of the file.
  virtual Status Read(uint64_t offset, size_t n, char* dst, size_t* got) = 0;

  // Writes all n bytes at offset, extending the file when needed.
  // A short write is an error (a full disk), never a partial success.
  virtual Status Write(uint64_t offset, const char* src, size_t n) = 0;

  virtual Status Size(uint64_t* size) = 0;
  virtual Status Truncate(uint64_t size) = 0;
  // Flushes written data to stable storage.
  virtual Status Sync() = 0;

  virtual const std::string& path() const = 0;
};

// Held while a file lock is held; releasing drops the lock.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

enum class OpenMode {
  kReadOnly,   // the file must exist
  kReadWrite,  // the file must exist
  kCreate,     // created, or truncated when it exists
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The process-wide file system of the real disk.
  static FileSystem* Default();

  virtual Status Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* file) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Replaces `to` by `from` in one step: afterwards `to` is either the old or
  // the new file, never a mixture.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;
  virtual Status Remove(const std::string& path) = 0;
  // Names (not paths) of the entries of a directory.
  virtual Status ListDir(const std::string& dir, std::vector<std::string>* names) = 0;
  // Makes a completed rename in dir durable.
  virtual Status SyncDir(const std::string& dir) = 0;
  virtual Status CreateDir(const std::string& dir) = 0;
  // Modification time in nanoseconds, 0 when unknown.
  virtual Status ModTime(const std::string& path, int64_t* ns) = 0;

  // Takes an advisory lock on path without waiting: exclusive keeps every
  // other lock out, shared keeps exclusive locks out. Busy when it is taken.
  virtual Status Lock(const std::string& path, bool exclusive, std::unique_ptr<FileLock>* lock) = 0;
};

// Memory for large caches: aligned to 2 MiB, not zeroed, and backed by huge
// pages where the system allows, so filling a big cache costs few page
// faults. nullptr when it cannot be had. Free with FreeLargeBuffer.
void* AllocateLargeBuffer(size_t bytes);
void FreeLargeBuffer(void* buffer);

// Path helpers shared by the engine.
std::string JoinPath(const std::string& dir, const std::string& name);
std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);

// Finds name in dir without regard to ASCII case. Returns the full path of
// the existing entry (an exact match wins), or JoinPath(dir, name) when there
// is none, so the result can also be used to create the file.
std::string ResolvePath(FileSystem* fs, const std::string& dir, const std::string& name);

// Reads exactly n bytes at offset; a short read is Corruption naming the file.
Status ReadExact(File* file, uint64_t offset, size_t n, char* dst);

}  // namespace kpr
