// Conversions between field text as stored and the values the engine hands
// out. Field text is the raw Windows-1252 bytes of the field, blank-padded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kpr {

// Formats value right-aligned in width with the given decimals, rounded half
// away from zero on its shortest decimal form (2.675 gives 2.68). False when
// the text does not fit the width (never asterisks, never cut).
bool FormatNumberText(double value, int width, int decimals, std::string* out);
// Same for an integer value.
bool FormatIntegerText(int64_t value, int width, std::string* out);

// Reads a number the way dBASE programs do: leading blanks skipped, an
// optional sign, digits with an optional '.' fraction; anything unreadable
// counts as 0 (blank fields are 0).
double ParseNumberText(std::string_view text);
// The whole-number part of the text, saturated to the int64 range.
int64_t ParseIntegerText(std::string_view text);

// T, t, Y and y are true; blanks and everything else false.
inline bool ParseLogicalText(std::string_view text) {
  if (text.empty()) return false;
  const char c = text[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

}  // namespace kpr
