#include "store/status.h"

namespace kpr {

std::string Status::ToString() const {
  const char* name = "OK";
  switch (code_) {
    case Code::kOk: return name;
    case Code::kNotFound: name = "Not found: "; break;
    case Code::kCorruption: name = "Corruption: "; break;
    case Code::kIOError: name = "IO error: "; break;
    case Code::kInvalidArgument: name = "Invalid argument: "; break;
    case Code::kBusy: name = "Busy: "; break;
  }
  return name + message_;
}

}  // namespace kpr
