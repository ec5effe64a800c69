// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
#pragma once

#include <string>

namespace kpr::testing {

class TempDir {
 public:
  TempDir();
  // Under parent instead (e.g. /dev/shm for loops that write a great deal).
  explicit TempDir(const std::string& parent);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A directory in memory (/dev/shm) when the machine has one, else the
// system's temporary directory.
std::string MemoryTempParent();

// Whole-file helpers for tests.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace kpr::testing
