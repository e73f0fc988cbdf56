// printf("%g") of a float widened to double, in integer arithmetic: exact for
// the magnitudes normals and coordinates take, formatG6 for the rest.
#include <cmath>
#include <cstring>

#include "DirectText.h"

#include "TextOps.h"

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
  if (exponentBits == 0 || exponentBits == 0xFF) return formatG6(double(value), out);
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
      return formatG6(double(value), out);
    if (digits >= 1000000) {
      ++x;
    } else if (digits < 100000) {
      --x;
    } else {
      break;
    }
  }
  // %g: fixed notation for -4 <= X < 6, else exponent notation.
  if (x < -4 || x >= 6) return formatG6(double(value), out);
  const uint32_t d = uint32_t(digits);
  char* p = out;
  if (negative) *p++ = '-';
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && \
    (defined(__GNUC__) || defined(__clang__))
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
#else
  char s[16];
  std::memcpy(s, kDigitPairs + (d / 10000) * 2, 2);
  std::memcpy(s + 2, kDigitPairs + (d / 100 % 100) * 2, 2);
  std::memcpy(s + 4, kDigitPairs + (d % 100) * 2, 2);
  std::memset(s + 6, '0', sizeof s - 6);
  int last = 5;
  while (last > 0 && s[last] == '0') --last;  // trailing zeros go
  if (x >= 0) {
    std::memcpy(p, s, 8);
    if (last <= x) return size_t(p - out) + size_t(x) + 1;
    p[x + 1] = '.';
    std::memcpy(p + x + 2, s + x + 1, 8);
    return size_t(p - out) + size_t(last) + 2;
  }
  std::memcpy(p, "0.00000", 8);
  p += 1 - x;
  std::memcpy(p, s, 8);
  return size_t(p - out) + size_t(last) + 1;
#endif
}

}  // namespace textops
