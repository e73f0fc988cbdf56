// Fast paths of the stream-rule parsers for the plain numerals that mesh
// writers emit ("-0.019766", "1204"). Any other text goes to
// parseStreamFloat / parseStreamInt, so the results are always theirs.
#pragma once

#include <cstdint>
#include <cstring>

#include "TextOps.h"

namespace textops {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && \
    (defined(__GNUC__) || defined(__clang__))
#define TEXTOPS_SWAR_DIGITS 1
// Leading decimal digits among the 8 readable bytes at p: their count, and
// their value when the count is below 8. Eight bytes at a time, no branch
// per digit.
inline int digitRun8(const char* p, uint32_t& value) noexcept {
  uint64_t bytes;
  std::memcpy(&bytes, p, 8);
  uint64_t t = bytes ^ 0x3030303030303030ull;  // digits become 0..9
  // A byte is no digit when its high nibble is set or it exceeds 9. A carry
  // out of a non-digit byte only disturbs the bytes after it.
  uint64_t nonDigit = (t | (t + 0x0606060606060606ull)) & 0xF0F0F0F0F0F0F0F0ull;
  int count = nonDigit ? __builtin_ctzll(nonDigit) / 8 : 8;
  if (count == 0 || count == 8) {
    value = 0;
    return count;
  }
  t <<= 8 * (8 - count);  // leading zero digits pad the run to eight
  t = (t * 10) + (t >> 8);
  t = (((t & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
       (((t >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
      32;
  value = uint32_t(t);
  return count;
}
#endif

// As parseStreamFloat over [p, end). Taken here: [sign] digits [. digits]
// with a mantissa of at most 2^24 and at most 10 fraction digits, followed by
// anything but a digit, '.', 'e' or 'E'. Both operands of the one division
// are exact floats, so the quotient is the correctly rounded value, as the
// full parser gives. `limit` (not before end) bounds the bytes that may be
// read ahead in eight-byte steps; nothing in [end, limit) becomes part of the
// number.
inline ParseResult parseStreamFloatQuick(const char* p, const char* end, const char* limit,
                                         float& value) noexcept {
  static constexpr float kPowers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                        1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
  const char* q = p;
  while (q < end && isStreamSpace(*q)) ++q;
  bool negative = false;
  if (q < end && (*q == '-' || *q == '+')) negative = *q++ == '-';
#if defined(TEXTOPS_SWAR_DIGITS)
  if (limit - q >= 17) {
    uint32_t whole, part = 0;
    const int n1 = digitRun8(q, whole);
    const char* r = q + n1;
    if (n1 > 0 && n1 < 8 && r <= end) {
      int n2 = 0;
      const bool point = r < end && *r == '.';
      if (point) {
        n2 = digitRun8(r + 1, part);
        r += 1 + n2;
      }
      static constexpr uint32_t kScale[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
      uint64_t mantissa = n2 < 8 ? uint64_t(whole) * kScale[n2] + part : ~0ull;
      if (r <= end && (!point || n2 > 0) && n2 < 8 && mantissa <= (1u << 24) &&
          (r == end || (*r != 'e' && *r != 'E' && *r != '.'))) {
        float magnitude = float(uint32_t(mantissa)) / kPowers[n2];
        value = negative ? -magnitude : magnitude;
        return {r, true};
      }
    }
  }
#else
  (void)limit;
#endif
  uint32_t mantissa = 0;
  const char* digits = q;
  while (q < end && unsigned(*q - '0') < 10u && mantissa <= (1u << 24)) {
    mantissa = mantissa * 10 + uint32_t(*q - '0');
    ++q;
  }
  int fraction = 0;
  if (q > digits && q < end && *q == '.') {
    const char* fractionStart = ++q;
    while (q < end && unsigned(*q - '0') < 10u && mantissa <= (1u << 24)) {
      mantissa = mantissa * 10 + uint32_t(*q - '0');
      ++q;
    }
    fraction = int(q - fractionStart);
    if (fraction == 0) return parseStreamFloat(p, end, value);
  }
  if (q == digits || mantissa > (1u << 24) || fraction > 10 ||
      (q < end && (unsigned(*q - '0') < 10u || *q == '.' || *q == 'e' || *q == 'E')))
    return parseStreamFloat(p, end, value);
  float magnitude = float(mantissa) / kPowers[fraction];
  value = negative ? -magnitude : magnitude;
  return {q, true};
}

inline ParseResult parseStreamFloatQuick(const char* p, const char* end, float& value) noexcept {
  return parseStreamFloatQuick(p, end, end, value);
}

// As parseStreamInt over [p, end). Taken here: [sign] and at most 9 digits.
// `limit` as for parseStreamFloatQuick.
inline ParseResult parseStreamIntQuick(const char* p, const char* end, const char* limit,
                                       int32_t& value) noexcept {
  const char* q = p;
  while (q < end && isStreamSpace(*q)) ++q;
  bool negative = false;
  if (q < end && (*q == '-' || *q == '+')) negative = *q++ == '-';
#if defined(TEXTOPS_SWAR_DIGITS)
  if (limit - q >= 8) {
    uint32_t run;
    int n = digitRun8(q, run);
    if (n > 0 && n < 8 && q + n <= end) {
      value = negative ? -int32_t(run) : int32_t(run);
      return {q + n, true};
    }
  }
#else
  (void)limit;
#endif
  const char* digits = q;
  int32_t magnitude = 0;
  while (q < end && unsigned(*q - '0') < 10u && q - digits < 9) {
    magnitude = magnitude * 10 + (*q - '0');
    ++q;
  }
  if (q == digits || (q < end && unsigned(*q - '0') < 10u)) return parseStreamInt(p, end, value);
  value = negative ? -magnitude : magnitude;
  return {q, true};
}

inline ParseResult parseStreamIntQuick(const char* p, const char* end, int32_t& value) noexcept {
  return parseStreamIntQuick(p, end, end, value);
}

}  // namespace textops
