// Number parsing with the classic-locale stream extraction rules, and integer
// formatting by digit pairs. The float parser converts exactly on its own,
// without the C library or <charconv>: see parseStreamFloat.
#include <cfloat>
#include <climits>
#include <cstring>

#include "BigUnsigned.h"
#include "DirectText.h"
#include "PowersOfTen.h"
#include "TextOps.h"

namespace textops {

namespace {

inline bool isDigit(char c) { return unsigned(c - '0') < 10u; }

constexpr uint32_t kInfinityBits = 0x7F800000;

// Whether a double of the float range lies within 8 of its units in the last
// place of a midpoint between two neighbouring floats: its 29 bits below the
// float's last bit are within 8 of 1000...0.
bool nearFloatMidpoint(double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  const uint32_t low = uint32_t(bits & 0x1FFFFFFFu);
  return low - (0x10000000u - 8) <= 16;
}

// Significant digits the exact path keeps. Every midpoint between two
// floats, (2m + 1) * 2^(e - 1) with m < 2^24 and e >= -149, has at most 113
// significant digits, so the first 120 digits and one more for "something
// nonzero follows" compare with every midpoint as the whole numeral does.
constexpr int kKeptDigits = 120;
// The kept digits (< 10^121, 402 bits) times 2^150, or (2m + 1) times
// 5^166 times 2^269 (680 bits), both fit.
using ExactInt = BigUnsigned<24>;

// x = d * 10^q against the midpoint between the float with bits b and the
// next one up: -1, 0 or 1 as x is below, on or above it.
int compareWithMidpoint(const ExactInt& d, int q, uint32_t b) {
  uint32_t m = b & 0x7FFFFF;
  int e = -149;
  if (b >> 23) {
    m |= 0x800000;
    e = int(b >> 23) - 150;
  }
  ExactInt x = d, mid;
  setValue(mid, 2 * uint64_t(m) + 1);
  int xTwos = 0, midTwos = e - 1;
  if (q >= 0) {
    mulPow5(x, q);
    xTwos = q;
  } else {
    mulPow5(mid, -q);
    midTwos -= q;
  }
  if (xTwos > midTwos) {
    shiftLeft(x, xTwos - midTwos);
  } else {
    shiftLeft(mid, midTwos - xTwos);
  }
  return compare(x, mid);
}

// Bits of the float nearest to the mantissa text [p, end) (digits and at
// most one point) times 10^exponent, ties to even; kInfinityBits when it
// rounds beyond FLT_MAX. A double estimate gives a float within a unit or
// two; exact comparisons with the midpoints to its neighbours settle it.
uint32_t nearestFloatBits(const char* p, const char* end, int64_t exponent) {
  char digits[kKeptDigits + 1];
  int n = 0;
  int64_t q = exponent;
  bool started = false, point = false, sticky = false;
  for (; p < end; ++p) {
    const char c = *p;
    if (c == '.') {
      point = true;
    } else if (!started && c == '0') {
      if (point) --q;
    } else if (n < kKeptDigits) {
      started = true;
      digits[n++] = c;
      if (point) --q;
    } else {
      sticky |= c != '0';
      if (!point) ++q;
    }
  }
  if (sticky) {
    digits[n++] = '1';
    --q;
  }
  while (n > 0 && digits[n - 1] == '0') {
    --n;
    ++q;
  }
  // x = D * 10^q with the n digits D: 10^(n - 1 + q) <= x < 10^(n + q).
  if (n == 0 || n + q < -45) return 0;  // below 10^-46, under half of the least subnormal
  if (n + q > 39) return kInfinityBits;  // 10^39 and more
  ExactInt d;
  setValue(d, 0);
  for (int i = 0; i < n;) {
    uint32_t chunk = 0, factor = 1;
    for (int k = 0; k < 9 && i < n; ++k, ++i) {
      chunk = chunk * 10 + uint32_t(digits[i] - '0');
      factor *= 10;
    }
    mulAdd(d, factor, chunk);
  }
  const int lead = n < 19 ? n : 19;
  uint64_t top = 0;
  for (int i = 0; i < lead; ++i) top = top * 10 + uint64_t(digits[i] - '0');
  const int t = int(q) + n - lead;  // x is about top * 10^t, -64 <= t <= 38
  const double estimate = t >= 0 ? double(top) * power10(t) : double(top) / power10(-t);
  uint32_t bits = 0x7F7FFFFF;
  if (estimate < double(FLT_MAX)) {
    const float f = float(estimate);
    std::memcpy(&bits, &f, sizeof bits);
  }
  for (;;) {
    if (bits < kInfinityBits) {
      const int c = compareWithMidpoint(d, int(q), bits);
      if (c > 0 || (c == 0 && (bits & 1))) {
        ++bits;
        continue;
      }
    }
    if (bits > 0) {
      const int c = compareWithMidpoint(d, int(q), bits - 1);
      if (c < 0 || (c == 0 && (bits & 1))) {
        --bits;
        continue;
      }
    }
    return bits;
  }
}

}  // namespace

// One pass takes the stream's text ([sign] digits [. digits] [e [sign]
// digits], the exponent only after a mantissa digit) and gathers the first
// 19 significant digits m, the numeral being m * 10^scale or a little more.
// Three conversions, each correctly rounded:
// - m up to 2^24 with a power of ten up to 10^10, all digits in m: one float
//   operation on two exact floats;
// - a normal float result: m * 10^scale in double precision, off by at most
//   four units in its last place (m, the power and the operation rounded at
//   most once, twice and once; the digits past m add 10^-18 relative), taken
//   when it lies farther than 8 units from every midpoint between floats, so
//   that the numeral lies on the same side of each. Wider intermediate
//   precision (x87) only adds 2^-11 units per operation;
// - anything else (midpoints and numerals near them, subnormals, the range's
//   ends): exact integer comparisons, nearestFloatBits. The library does this
//   itself rather than call strtof_l or strtod_l: those are not on every
//   target (MinGW lacks them), plain strtof follows the process locale, and
//   <charconv> has no float parsing in every standard library the library is
//   built with.
ParseResult parseStreamFloat(const char* p, const char* end, float& value) noexcept {
  while (p < end && isStreamSpace(*p)) ++p;
  if (p == end) return {p, false};
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* const mantissa = p;
  uint64_t m = 0;         // the first 19 significant digits
  int significant = 0;    // of them, counted from the first nonzero digit
  int64_t scale = 0;      // m * 10^scale is the numeral unless `inexact`
  bool inexact = false;   // a nonzero digit did not fit into m
  bool anyDigit = false;
  for (; p < end && isDigit(*p); ++p) {
    anyDigit = true;
    if (significant < 19) {
      m = m * 10 + uint64_t(*p - '0');
      significant += m != 0;
    } else {
      inexact |= *p != '0';
      ++scale;
    }
  }
  if (p < end && *p == '.') {
    for (++p; p < end && isDigit(*p); ++p) {
      anyDigit = true;
      if (significant < 19) {
        m = m * 10 + uint64_t(*p - '0');
        significant += m != 0;
        --scale;
      } else {
        inexact |= *p != '0';
      }
    }
  }
  if (!anyDigit) {
    value = 0.0f;
    return {p, false};
  }
  const char* const mantissaEnd = p;
  int64_t exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p < end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
    if (p == end || !isDigit(*p)) {
      // "1e" or "1e+": the stream takes it and rejects all of it.
      value = 0.0f;
      return {p, false};
    }
    for (; p < end && isDigit(*p); ++p) {
      if (exponent < 100000000) exponent = exponent * 10 + (*p - '0');
    }
    if (negativeExponent) exponent = -exponent;
    scale += exponent;
  }
  float magnitude = 0.0f;
  bool converted = true;
  if (m == 0) {
    magnitude = 0.0f;
  } else if (!inexact && m <= (1u << 24) && scale >= -10 && scale <= 10) {
    magnitude = scale < 0 ? float(m) / kFloatPowers[-scale] : float(m) * kFloatPowers[scale];
  } else {
    converted = false;
    if (scale >= -66 && scale <= 66) {
      const double d =
          scale < 0 ? double(m) / power10(int(-scale)) : double(m) * power10(int(scale));
      if (d >= double(FLT_MIN) && d <= double(FLT_MAX) && !nearFloatMidpoint(d)) {
        magnitude = float(d);
        converted = true;
      }
    }
  }
  if (!converted) {
    const uint32_t bits = nearestFloatBits(mantissa, mantissaEnd, exponent);
    if (bits == kInfinityBits) {
      value = negative ? -FLT_MAX : FLT_MAX;
      return {p, false};
    }
    std::memcpy(&magnitude, &bits, sizeof magnitude);
  }
  value = negative ? -magnitude : magnitude;
  return {p, true};
}

ParseResult parseStreamInt(const char* p, const char* end, int32_t& value) noexcept {
  while (p < end && isStreamSpace(*p)) ++p;
  if (p == end) return {p, false};
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* firstDigit = p;
  int64_t magnitude = 0;
  bool overflow = false;
  for (; p < end && isDigit(*p); ++p) {
    if (!overflow) {
      magnitude = magnitude * 10 + (*p - '0');
      if (magnitude > int64_t(INT32_MAX) + 1) overflow = true;
    }
  }
  if (p == firstDigit) {
    value = 0;
    return {p, false};
  }
  if (!negative && (overflow || magnitude > INT32_MAX)) {
    value = INT32_MAX;
    return {p, false};
  }
  if (negative && overflow) {
    value = INT32_MIN;
    return {p, false};
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return {p, true};
}

const char kDigitPairs[200] = {
    '0', '0', '0', '1', '0', '2', '0', '3', '0', '4',
    '0', '5', '0', '6', '0', '7', '0', '8', '0', '9',
    '1', '0', '1', '1', '1', '2', '1', '3', '1', '4',
    '1', '5', '1', '6', '1', '7', '1', '8', '1', '9',
    '2', '0', '2', '1', '2', '2', '2', '3', '2', '4',
    '2', '5', '2', '6', '2', '7', '2', '8', '2', '9',
    '3', '0', '3', '1', '3', '2', '3', '3', '3', '4',
    '3', '5', '3', '6', '3', '7', '3', '8', '3', '9',
    '4', '0', '4', '1', '4', '2', '4', '3', '4', '4',
    '4', '5', '4', '6', '4', '7', '4', '8', '4', '9',
    '5', '0', '5', '1', '5', '2', '5', '3', '5', '4',
    '5', '5', '5', '6', '5', '7', '5', '8', '5', '9',
    '6', '0', '6', '1', '6', '2', '6', '3', '6', '4',
    '6', '5', '6', '6', '6', '7', '6', '8', '6', '9',
    '7', '0', '7', '1', '7', '2', '7', '3', '7', '4',
    '7', '5', '7', '6', '7', '7', '7', '8', '7', '9',
    '8', '0', '8', '1', '8', '2', '8', '3', '8', '4',
    '8', '5', '8', '6', '8', '7', '8', '8', '8', '9',
    '9', '0', '9', '1', '9', '2', '9', '3', '9', '4',
    '9', '5', '9', '6', '9', '7', '9', '8', '9', '9',
};

size_t formatInt(int64_t value, char* out) noexcept {
  return size_t(writeInt64(out, value) - out);
}

size_t formatUInt(uint64_t value, char* out) noexcept {
  return size_t(writeUInt64(out, value) - out);
}

}  // namespace textops
