// Where a benchmark writes its data.
#pragma once

#include <string>

namespace kpr::bench {

// Makes a new directory named prefix.XXXXXX under $TMPDIR (or /tmp) and
// returns its path. Throws std::runtime_error naming the path on failure.
std::string MakeTempDir(const std::string& prefix);

}  // namespace kpr::bench
