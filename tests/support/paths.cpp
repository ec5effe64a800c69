#include "tests/support/paths.h"

#include <cstdlib>

namespace kpr::testing {
namespace {

std::string FromEnv(const char* name, const char* configured) {
  const char* env = std::getenv(name);
  return env != nullptr && *env != '\0' ? env : configured;
}

}  // namespace

std::string SourceDir() { return FromEnv("KPR_SOURCE_DIR", KPR_CONFIGURED_SOURCE_DIR); }
std::string BinaryDir() { return FromEnv("KPR_BINARY_DIR", KPR_CONFIGURED_BINARY_DIR); }

}  // namespace kpr::testing
