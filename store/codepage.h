// Windows-1252, the single-byte text of the tables, converted to and from
// the UTF-8 used everywhere above the engine.
#pragma once

#include <string>
#include <string_view>

namespace kpr {

// Every byte maps to a character; the five bytes Windows-1252 leaves
// undefined map to the C1 control of the same value, so any file reads.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte become '?'; invalid UTF-8 bytes
// are taken as Windows-1252 bytes already (text typed or pasted that was
// never UTF-8 keeps its bytes).
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace kpr
