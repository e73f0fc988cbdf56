// The number scanning of the readers: digit runs, plain numerals, and fast
// paths of the stream-rule parsers for the numerals that mesh writers emit
// ("-0.019766", "1204"). Any other text goes to parseStreamFloat /
// parseStreamInt, so the results are always theirs.
#pragma once

#include <cstdint>
#include <cstring>

#include "PowersOfTen.h"
#include "TextOps.h"

namespace textops {

// ---- digit runs ---------------------------------------------------------------
// Two ways to count the leading digits among the 8 readable bytes at p
// (their count, and their value when the count is below 8). The word-at-a-
// time count takes no branch per digit, but the position after the run waits
// for its arithmetic; the byte loop branches per digit, which costs little
// where number lengths repeat from line to line (mesh files) and tells the
// next position early. Each reader takes the one its benchmark favours.

inline int digitRunBytes(const char* p, uint32_t& value) noexcept {
  int n = 0;
  uint32_t v = 0;
  while (n < 8 && unsigned(p[n] - '0') < 10u) v = v * 10 + uint32_t(p[n++] - '0');
  value = v;
  return n;
}

// Little-endian word order and __builtin_ctzll: every target the library
// builds for (FloatText.cpp refuses any other).
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

// ---- plain numerals ---------------------------------------------------------------

// Namespace-scope constants (as those of PowersOfTen.h): each reader
// addresses its own copy directly.
constexpr uint32_t kQuickScales[8] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// [sign] 1-7 digits [. 1-7 digits] with a mantissa of at most 2^24, within
// [q, end) and followed there by none of digit, '.', 'e', 'E': sets the
// stream rule's value and returns the end; else null. Both operands of the
// one division are exact floats, so the quotient is the correctly rounded
// value, as parseStreamFloat gives. Reads up to 18 bytes from q, which must
// lie before `limit` (not before end); nothing in [end, limit) becomes part of
// the number. No white space is skipped.
template <int (*DigitRun)(const char*, uint32_t&) noexcept, bool kEndIsLimit = false>
inline const char* plainFloat(const char* q, const char* end, const char* limit,
                              float& value) noexcept {
  if (limit - q < 18) return nullptr;  // sign, 8 bytes, point, 8 bytes
  // With end == limit the numeral (16 bytes at most) cannot reach end: the
  // checks against it go.
  bool negative = false;
  if (*q == '-' || *q == '+') negative = *q++ == '-';
  uint32_t whole, part = 0;
  const int n1 = DigitRun(q, whole);
  if (n1 == 0 || n1 == 8) return nullptr;
  q += n1;
  if (!kEndIsLimit && q > end) return nullptr;
  int n2 = 0;
  if ((kEndIsLimit || q < end) && *q == '.') {
    n2 = DigitRun(q + 1, part);
    if (n2 == 0 || n2 == 8) return nullptr;
    q += 1 + n2;
    if (!kEndIsLimit && q > end) return nullptr;
  }
  if ((kEndIsLimit || q < end) && (*q == '.' || *q == 'e' || *q == 'E'))
    return nullptr;  // a digit cannot follow
  const uint64_t mantissa = uint64_t(whole) * kQuickScales[n2] + part;
  if (mantissa > (1u << 24)) return nullptr;
  const float magnitude = float(uint32_t(mantissa)) / kFloatPowers[n2];
  value = negative ? -magnitude : magnitude;
  return q;
}

// plainFloat where the numeral may run up to `end` and reads stop there too.
template <int (*DigitRun)(const char*, uint32_t&) noexcept>
inline const char* plainFloat(const char* q, const char* end, float& value) noexcept {
  return plainFloat<DigitRun, true>(q, end, end, value);
}

// Up to nine plain digits at p within [p, end): their value, and p moved to
// the end of the run; false when there is no digit or a tenth one follows.
// Bytes up to `limit` (not before end) may be read ahead.
inline bool plainDigits(const char*& p, const char* end, const char* limit,
                        uint32_t& value) noexcept {
  if (limit - p >= 8) {
    uint32_t run;
    const int n = digitRun8(p, run);
    if (n == 0) return false;
    if (n < 8 && p + n <= end) {
      value = run;
      p += n;
      return true;
    }
  }
  const char* q = p;
  uint32_t v = 0;
  while (q < end && unsigned(*q - '0') < 10u && q - p < 9) v = v * 10 + uint32_t(*q++ - '0');
  if (q == p || (q < end && unsigned(*q - '0') < 10u)) return false;
  value = v;
  p = q;
  return true;
}

// ---- the stream rules, fast --------------------------------------------------------

// As parseStreamFloat over [p, end), the plain numerals taken here: by
// plainFloat when `limit` leaves room for its reads, else byte by byte (at
// most 10 fraction digits). `limit` as for plainFloat.
inline ParseResult parseStreamFloatQuick(const char* p, const char* end, const char* limit,
                                         float& value) noexcept {
  const char* q = p;
  while (q < end && isStreamSpace(*q)) ++q;
  if (const char* r = plainFloat<digitRun8>(q, end, limit, value)) return {r, true};
  bool negative = false;
  if (q < end && (*q == '-' || *q == '+')) negative = *q++ == '-';
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
  float magnitude = float(mantissa) / kFloatPowers[fraction];
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
  if (limit - q >= 8) {
    uint32_t run;
    int n = digitRun8(q, run);
    if (n > 0 && n < 8 && q + n <= end) {
      value = negative ? -int32_t(run) : int32_t(run);
      return {q + n, true};
    }
  }
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

// A whole integer filling [begin, end) by the stream rule (no white space
// before or after it).
inline bool parseWholeInt(const char* begin, const char* end, int32_t& value) noexcept {
  if (begin == end) return false;
  // Up to nine plain digits cannot overflow: the common case, read here.
  if (end - begin <= 9) {
    int32_t v = 0;
    const char* p = begin;
    while (p < end && unsigned(*p - '0') < 10) v = v * 10 + (*p++ - '0');
    if (p == end) {
      value = v;
      return true;
    }
  }
  ParseResult r = parseStreamInt(begin, end, value);
  return r.ok && r.next == end;
}

}  // namespace textops
