// Keeps a second copy of the program off the same data directory: the
// directory itself is locked for the run. The lock creates no file and is
// released by the system when the process ends, a crash included.
#pragma once

#include <QString>

namespace kpr {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // False when another copy holds the directory (or it cannot be opened).
  bool Acquire(const QString& directory);

 private:
  int fd_ = -1;
};

}  // namespace kpr
