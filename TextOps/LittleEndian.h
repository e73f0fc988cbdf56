// Little-endian fields, read and written byte by byte: the one way every
// binary format here (VyX, BMP, the tools' generators) moves its integers
// and floats, independent of the host's byte order and of alignment.
#pragma once

#include <cstdint>
#include <cstring>

namespace le {

inline uint16_t loadU16(const unsigned char* p) {
  return uint16_t(p[0] | p[1] << 8);
}

inline uint32_t loadU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
         uint32_t(p[3]) << 24;
}

inline int32_t loadI32(const unsigned char* p) {
  uint32_t u = loadU32(p);
  int32_t v;
  std::memcpy(&v, &u, 4);
  return v;
}

// IEEE single precision, the bits as stored.
inline float loadF32(const unsigned char* p) {
  uint32_t u = loadU32(p);
  float v;
  std::memcpy(&v, &u, 4);
  return v;
}

// Stores return the position after the field.
inline unsigned char* storeU16(unsigned char* p, uint16_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  return p + 2;
}

inline unsigned char* storeU32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
  return p + 4;
}

inline unsigned char* storeF32(unsigned char* p, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  return storeU32(p, u);
}

}  // namespace le
