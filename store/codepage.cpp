#include "store/codepage.h"

#include <cstdint>

namespace kpr {
namespace {

// Unicode code points of bytes 0x80..0x9F; the rest equal their byte value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string* out, uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char EncodeCodePoint(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) {
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
    } else {
      AppendUtf8(&out, b < 0xA0 ? kHigh[b - 0x80] : b);
    }
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    int len = (b >= 0xF0 && b < 0xF8) ? 4 : (b >= 0xE0) ? 3 : (b >= 0xC2 && b < 0xE0) ? 2 : 0;
    if (b >= 0xF8) len = 0;
    bool valid = len > 0 && i + len <= s.size();
    uint32_t cp = 0;
    if (valid) {
      cp = b & (0x7F >> len);
      for (int k = 1; k < len; ++k) {
        const unsigned char c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) { valid = false; break; }
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (!valid) {  // not UTF-8: keep the byte as it is
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    out.push_back(EncodeCodePoint(cp));
    i += len;
  }
  return out;
}

}  // namespace kpr
