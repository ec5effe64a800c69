// Little-endian integer encoding shared by every on-disk structure.
#pragma once

#include <cstdint>
#include <string>

namespace kpr {

inline void EncodeFixed16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}
inline void EncodeFixed32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void EncodeFixed64(char* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline uint16_t DecodeFixed16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint16_t>(u[0] | (u[1] << 8));
}
inline uint32_t DecodeFixed32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint32_t>(u[0]) | (static_cast<uint32_t>(u[1]) << 8) |
         (static_cast<uint32_t>(u[2]) << 16) | (static_cast<uint32_t>(u[3]) << 24);
}
inline uint64_t DecodeFixed64(const char* p) {
  return static_cast<uint64_t>(DecodeFixed32(p)) |
         (static_cast<uint64_t>(DecodeFixed32(p + 4)) << 32);
}

inline void PutFixed16(std::string* dst, uint16_t v) {
  char b[2];
  EncodeFixed16(b, v);
  dst->append(b, 2);
}
inline void PutFixed32(std::string* dst, uint32_t v) {
  char b[4];
  EncodeFixed32(b, v);
  dst->append(b, 4);
}
inline void PutFixed64(std::string* dst, uint64_t v) {
  char b[8];
  EncodeFixed64(b, v);
  dst->append(b, 8);
}

// CRC-32 (IEEE), for checking our own small files.
uint32_t Crc32(const char* data, size_t n);

}  // namespace kpr
