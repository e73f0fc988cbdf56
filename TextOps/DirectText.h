// Writing numbers and short texts straight into an OutFile's buffer: ask for
// room once, write with fixed-size copies, then advance. For writers that
// emit millions of small pieces, where a memcpy call per piece would cost
// more than the piece.
#pragma once

#include <cstdint>
#include <cstring>

#include "TextOps.h"

namespace textops {

// Room for at least `bytes` more bytes at the write position, flushing
// first when the buffer lacks it. `bytes` must not exceed the capacity.
inline char* room(OutFile& out, size_t bytes) noexcept {
  if (out.capacity - out.length < bytes) flushOut(out);
  return reinterpret_cast<char*>(out.buffer.get()) + out.length;
}

// Marks everything up to `to` (inside the room asked for) as written.
inline void advance(OutFile& out, char* to) noexcept {
  out.length = size_t(to - reinterpret_cast<char*>(out.buffer.get()));
}

// "00".."99", two characters each.
extern const char kDigitPairs[200];

// Decimal digits of v (1 for 0).
inline int decimalLength(uint32_t v) noexcept {
  int n = 1;
  while (v >= 10000) {
    v /= 10000;
    n += 4;
  }
  return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

// Writes v in decimal at p; returns the end. At most 10 characters.
inline char* writeUInt32(char* p, uint32_t v) noexcept {
  const int n = decimalLength(v);
  char* q = p + n;
  while (v >= 100) {
    const uint32_t pair = (v % 100) * 2;
    v /= 100;
    q -= 2;
    std::memcpy(q, kDigitPairs + pair, 2);
  }
  if (v >= 10) {
    std::memcpy(q - 2, kDigitPairs + v * 2, 2);
  } else {
    q[-1] = char('0' + v);
  }
  return p + n;
}

// Writes v (any 32-bit value) in decimal at p; returns the end. At most 11
// characters.
inline char* writeInt32(char* p, int32_t v) noexcept {
  uint32_t magnitude = uint32_t(v);
  if (v < 0) {
    *p++ = '-';
    magnitude = 0u - magnitude;
  }
  return writeUInt32(p, magnitude);
}

// A decimal counter kept as text, counting up from 0 by one: the running
// numbers of a list cost a digit increment instead of a conversion.
constexpr int kCounterDigits = 24;
struct DecimalCounter {
  // Right-aligned in the first kCounterDigits places; the padding after them
  // lets a fixed copy of kCounterDigits bytes start at the text.
  char digits[2 * kCounterDigits];
  int length = 1;
};

inline void startCounter(DecimalCounter& c) noexcept {
  std::memset(c.digits, '0', sizeof c.digits);
  c.length = 1;
}

// The counter's text; `length` characters.
inline const char* counterText(const DecimalCounter& c) noexcept {
  return c.digits + kCounterDigits - c.length;
}

inline void incrementCounter(DecimalCounter& c) noexcept {
  int i = kCounterDigits - 1;
  while (c.digits[i] == '9') c.digits[i--] = '0';
  ++c.digits[i];
  if (kCounterDigits - i > c.length) c.length = kCounterDigits - i;
}

// Writes the counter's text at p with one fixed copy (p needs room for
// kCounterDigits bytes); returns the end of the text.
inline char* writeCounter(char* p, const DecimalCounter& c) noexcept {
  std::memcpy(p, counterText(c), kCounterDigits);
  return p + c.length;
}

}  // namespace textops
