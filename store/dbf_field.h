// One field of a dBASE record, as its header describes it.
#pragma once

#include <cstdint>
#include <string>

namespace kpr {

struct DbfField {
  std::string name;   // as stored (any case); compare without regard to case
  char type = 'C';    // 'C', 'N', 'F', 'D', 'L'; 'M' (memo) reads as blank text
  uint16_t width = 0;
  uint8_t decimals = 0;
  uint32_t offset = 0;  // position in the record; byte 0 is the deletion mark
};

}  // namespace kpr
