// Where the tests find the source tree and the build tree: the environment
// (KPR_SOURCE_DIR, KPR_BINARY_DIR) when set, else the trees this test
// binary was configured in.
#pragma once

#include <string>

namespace kpr::testing {

std::string SourceDir();
std::string BinaryDir();

}  // namespace kpr::testing
