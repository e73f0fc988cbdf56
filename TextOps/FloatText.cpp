// printf("%g") of a float widened to double, in integer arithmetic: a 64-bit
// path for fixed notation of normal floats (what normals and coordinates
// take), and an exact big-integer path for every other float.
#include <cmath>
#include <cstring>

#include "BigUnsigned.h"
#include "DirectText.h"
#include "PowersOfTen.h"
#include "TextOps.h"

// The fixed-notation path places six digits as one little-endian word and
// finds the last nonzero digit with __builtin_clzll: every target the
// library is built for (x86, x86-64, arm64 with GCC or clang) has both.
#if !(defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && \
      (defined(__GNUC__) || defined(__clang__)))
#error "FloatText.cpp needs a little-endian target and GCC or clang"
#endif

namespace textops {

namespace {

constexpr uint64_t kPow5[17] = {1ull,           5ull,           25ull,          125ull,
                                625ull,         3125ull,        15625ull,       78125ull,
                                390625ull,      1953125ull,     9765625ull,     48828125ull,
                                244140625ull,   1220703125ull,  6103515625ull,  30517578125ull,
                                152587890625ull};

// round-half-even(|x| * 10^k) for x = m * 2^e; false when it does not fit.
bool scaledRound(uint64_t m, int e, int k, uint64_t& q) {
  uint64_t n = m * kPow5[k];  // m < 2^24, 5^16 < 2^38
  int shift = e + k;
  if (shift >= 0) {
    if (shift > 20) return false;
    q = n << shift;
    return true;
  }
  int r = -shift;
  if (r >= 63) return false;
  q = n >> r;
  uint64_t rest = n & ((uint64_t(1) << r) - 1);
  uint64_t half = uint64_t(1) << (r - 1);
  if (rest > half || (rest == half && (q & 1))) ++q;
  return true;
}

// ---- the exact path ----------------------------------------------------------

// Up to 2^24 * 5^50 (141 bits) and (2 * 10^7 + 1) * 2^149 (174 bits).
using FormatInt = BigUnsigned<8>;

// round-half-even(m * 2^e * 10^k) for m < 2^24, -149 <= e <= 104,
// -33 <= k <= 50, where the result is below 10^7. The value is num / den
// with num = m * 5^k * 2^(e + k) and den the rest of the powers; a double
// estimate of the quotient is corrected by exact comparisons.
uint32_t roundedScaled(uint32_t m, int e, int k, double estimate) {
  FormatInt num, den;
  setValue(num, m);
  setValue(den, 1);
  if (k >= 0) {
    mulPow5(num, k);
  } else {
    mulPow5(den, -k);
  }
  if (e + k >= 0) {
    shiftLeft(num, e + k);
  } else {
    shiftLeft(den, -(e + k));
  }
  shiftLeft(num, 1);  // 2 num: the rounding compares it with den * (2q + 1)
  // q = floor(num / den), the largest q with den * 2q <= 2 num.
  auto times = [&den](uint64_t factor) {
    FormatInt t = den;
    mulAdd(t, uint32_t(factor), 0);
    return t;
  };
  uint32_t q = estimate > 0 ? uint32_t(estimate) : 0;
  while (q > 0 && compare(times(2 * uint64_t(q)), num) > 0) --q;
  while (compare(times(2 * uint64_t(q) + 2), num) <= 0) ++q;
  const int c = compare(num, times(2 * uint64_t(q) + 1));
  return c > 0 || (c == 0 && (q & 1)) ? q + 1 : q;
}

// Writes "inf", "nan", exponent or fixed notation for any float.
size_t formatExact(float value, char* out) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char* p = out;
  if (bits >> 31) *p++ = '-';
  const uint32_t exponentBits = (bits >> 23) & 0xFF;
  uint32_t m = bits & 0x7FFFFF;
  if (exponentBits == 0xFF) {
    std::memcpy(p, m ? "nan" : "inf", 3);
    return size_t(p - out) + 3;
  }
  int e = -149;
  if (exponentBits != 0) {
    m |= 0x800000;
    e = int(exponentBits) - 150;
  }
  if (m == 0) {
    *p = '0';
    return size_t(p - out) + 1;
  }
  // Decimal exponent x: 10^x <= |value| < 10^(x+1); the binary exponent
  // gives x or x - 1, and the rounding to six digits may still carry.
  int binary = e;
  for (uint32_t t = m; t > 1; t >>= 1) ++binary;
  int x = binary >= 0 ? (binary * 78913) >> 18 : -((-binary * 78913 + 262143) >> 18);
  const double magnitude = std::fabs(double(value));
  uint32_t digits;
  for (;;) {
    const int k = 5 - x;
    const double estimate = k >= 0 ? magnitude * power10(k) : magnitude / power10(-k);
    digits = roundedScaled(m, e, k, estimate);
    if (digits < 1000000) break;
    ++x;  // x was one too small, or the rounding carried into a new digit
  }
  char d[6];
  for (int i = 5; i >= 0; --i, digits /= 10) d[i] = char('0' + digits % 10);
  int last = 5;
  while (last > 0 && d[last] == '0') --last;  // trailing zeros go
  if (x < -4 || x >= 6) {
    *p++ = d[0];
    if (last > 0) {
      *p++ = '.';
      std::memcpy(p, d + 1, size_t(last));
      p += last;
    }
    *p++ = 'e';
    *p++ = x < 0 ? '-' : '+';
    const int a = x < 0 ? -x : x;
    std::memcpy(p, kDigitPairs + a * 2, 2);
    return size_t(p + 2 - out);
  }
  if (x >= 0) {
    std::memcpy(p, d, size_t(x) + 1);
    p += x + 1;
    if (last > x) {
      *p++ = '.';
      std::memcpy(p, d + x + 1, size_t(last - x));
      p += last - x;
    }
    return size_t(p - out);
  }
  *p++ = '0';
  *p++ = '.';
  for (int i = -1; i > x; --i) *p++ = '0';
  std::memcpy(p, d, size_t(last) + 1);
  return size_t(p + last + 1 - out);
}

}  // namespace

// Powers of ten 10^-5 .. 10^7 as doubles, for the decimal exponent.
constexpr double kPow10[13] = {1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1,
                               1e2,  1e3,  1e4,  1e5,  1e6,  1e7};

size_t formatFloatG6(float value, char* out) noexcept {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = bits >> 31;
  const uint32_t exponentBits = (bits >> 23) & 0xFF;
  const uint32_t fraction = bits & 0x7FFFFF;
  if (exponentBits == 0 && fraction == 0) {
    if (negative) {
      out[0] = '-';
      out[1] = '0';
      return 2;
    }
    out[0] = '0';
    return 1;
  }
  if (exponentBits == 0 || exponentBits == 0xFF) return formatExact(value, out);
  const uint64_t m = fraction | 0x800000;
  const int e = int(exponentBits) - 150;  // |value| = m * 2^e
  // Decimal exponent X of |value|: 10^X <= |value| < 10^(X+1). The binary
  // exponent gives it or one less; one comparison settles it for the
  // magnitudes written in fixed notation. Rounding may still carry into a
  // new digit, which the loop below catches.
  const int binary = e + 23;  // 2^binary <= |value| < 2^(binary+1)
  int x = (binary * 78913) >> 18;  // floor(binary * log10(2))
  if (x >= -5 && x <= 6 && std::fabs(double(value)) >= kPow10[x + 6]) ++x;
  // Six significant digits need |value| * 10^(5 - x) in [10^5, 10^6).
  uint64_t digits = 0;
  for (int attempt = 0;; ++attempt) {
    int k = 5 - x;
    if (attempt == 3 || k < 0 || k > 16 || !scaledRound(m, e, k, digits))
      return formatExact(value, out);
    if (digits >= 1000000) {
      ++x;
    } else if (digits < 100000) {
      --x;
    } else {
      break;
    }
  }
  // %g: fixed notation for -4 <= X < 6, else exponent notation; the loop
  // above left X <= 5 (k >= 0).
  if (x < -4) return formatExact(value, out);
  const uint32_t d = uint32_t(digits);
  char* p = out;
  if (negative) *p++ = '-';
  // The six digits as the first bytes of one word ("00" after them), kept in
  // a register: fixed 8-byte stores place them, and the last nonzero digit
  // is the highest nonzero byte of the word less '0's.
  uint16_t hi, mid, lo;
  std::memcpy(&hi, kDigitPairs + (d / 10000) * 2, 2);
  std::memcpy(&mid, kDigitPairs + (d / 100 % 100) * 2, 2);
  std::memcpy(&lo, kDigitPairs + (d % 100) * 2, 2);
  const uint64_t word = uint64_t(hi) | uint64_t(mid) << 16 | uint64_t(lo) << 32 |
                        uint64_t(0x3030) << 48;
  const int last = (63 - __builtin_clzll(word - 0x3030303030303030ull)) >> 3;
  if (x >= 0) {
    std::memcpy(p, &word, 8);
    if (last <= x) return size_t(p - out) + size_t(x) + 1;
    p[x + 1] = '.';
    const uint64_t rest = word >> (8 * (x + 1));
    std::memcpy(p + x + 2, &rest, 8);
    return size_t(p - out) + size_t(last) + 2;
  }
  // 0.000ddd: "0." and -X - 1 zeros before the digits.
  std::memcpy(p, "0.00000", 8);
  p += 1 - x;
  std::memcpy(p, &word, 8);
  return size_t(p - out) + size_t(last) + 1;
}

}  // namespace textops
