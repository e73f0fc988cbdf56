// Decimal digits written straight into an OutFile's buffer: ask room() once,
// write with fixed-size copies, then advance(). For writers that emit
// millions of small pieces, where a memcpy call per piece would cost more
// than the piece.
#pragma once

#include <cstdint>
#include <cstring>

#include "TextOps.h"

namespace textops {

// "00".."99", two characters each.
extern const char kDigitPairs[200];

// Writes 1 to 4 digits of v < 10000 at p; returns the end.
inline char* writeUpTo4(char* p, uint32_t v) noexcept {
  if (v < 100) {
    if (v < 10) {
      *p = char('0' + v);
      return p + 1;
    }
    std::memcpy(p, kDigitPairs + v * 2, 2);
    return p + 2;
  }
  const uint32_t hi = v / 100, lo = v % 100;
  if (hi < 10) {
    *p = char('0' + hi);
    std::memcpy(p + 1, kDigitPairs + lo * 2, 2);
    return p + 3;
  }
  std::memcpy(p, kDigitPairs + hi * 2, 2);
  std::memcpy(p + 2, kDigitPairs + lo * 2, 2);
  return p + 4;
}

// Writes exactly 4 digits of v < 10000 at p, leading zeros included.
inline void write4(char* p, uint32_t v) noexcept {
  std::memcpy(p, kDigitPairs + (v / 100) * 2, 2);
  std::memcpy(p + 2, kDigitPairs + (v % 100) * 2, 2);
}

// Writes v in decimal at p; returns the end. At most 10 characters. The
// value is cut into groups of four digits that are written independently.
inline char* writeUInt32(char* p, uint32_t v) noexcept {
  if (v < 10000) return writeUpTo4(p, v);
  if (v < 100000000) {
    p = writeUpTo4(p, v / 10000);
    write4(p, v % 10000);
    return p + 4;
  }
  const uint32_t top = v / 100000000, rest = v % 100000000;
  p = writeUpTo4(p, top);
  write4(p, rest / 10000);
  write4(p + 4, rest % 10000);
  return p + 8;
}

// Writes v in decimal at p; returns the end. At most 20 characters: a
// value past 32 bits is its part above the last eight digits, then those.
inline char* writeUInt64(char* p, uint64_t v) noexcept {
  if (v <= UINT32_MAX) return writeUInt32(p, uint32_t(v));
  p = writeUInt64(p, v / 100000000);
  const uint32_t rest = uint32_t(v % 100000000);
  write4(p, rest / 10000);
  write4(p + 4, rest % 10000);
  return p + 8;
}

// Writes v in decimal at p; returns the end. At most 20 characters.
inline char* writeInt64(char* p, int64_t v) noexcept {
  uint64_t magnitude = uint64_t(v);
  if (v < 0) {
    *p++ = '-';
    magnitude = 0u - magnitude;
  }
  return writeUInt64(p, magnitude);
}

}  // namespace textops
