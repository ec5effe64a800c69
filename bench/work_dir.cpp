#include "bench/work_dir.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kpr::bench {

std::string MakeTempDir(const std::string& prefix) {
  const char* tmp = std::getenv("TMPDIR");
  const std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + ".XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) {
    throw std::runtime_error(pattern + ": " + std::strerror(errno));
  }
  return buf.data();
}

}  // namespace kpr::bench
