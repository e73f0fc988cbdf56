// printf("%g") of a float widened to double, in integer arithmetic: exact for
// the magnitudes normals and coordinates take, formatG6 for the rest.
#include <cstring>

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
  // Decimal exponent X of |value|: 10^X <= |value| < 10^(X+1); from the
  // binary exponent, corrected below.
  const int binary = e + 23;  // 2^binary <= |value| < 2^(binary+1)
  int x = (binary * 78913) >> 18;  // floor(binary * log10(2))
  // Six significant digits need |value| * 10^(5 - x) in [10^5, 10^6).
  uint64_t digits = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    int k = 5 - x;
    if (k < 0 || k > 16) return formatG6(double(value), out);
    if (!scaledRound(m, e, k, digits)) return formatG6(double(value), out);
    if (digits >= 1000000) {
      // Either the estimate was low or rounding carried into a new digit.
      ++x;
      continue;
    }
    if (digits < 100000) {
      --x;
      continue;
    }
    break;
  }
  if (digits < 100000 || digits >= 1000000) return formatG6(double(value), out);
  // %g: fixed notation for -4 <= X < 6, else exponent notation.
  if (x < -4 || x >= 6) return formatG6(double(value), out);
  char d[6];
  for (int i = 5; i >= 0; --i) {
    d[i] = char('0' + digits % 10);
    digits /= 10;
  }
  int last = 5;
  while (last > 0 && d[last] == '0') --last;  // trailing zeros go
  size_t n = 0;
  if (negative) out[n++] = '-';
  if (x >= 0) {
    for (int i = 0; i <= x; ++i) out[n++] = d[i];
    if (last > x) {
      out[n++] = '.';
      for (int i = x + 1; i <= last; ++i) out[n++] = d[i];
    }
  } else {
    out[n++] = '0';
    out[n++] = '.';
    for (int i = 0; i < -x - 1; ++i) out[n++] = '0';
    for (int i = 0; i <= last; ++i) out[n++] = d[i];
  }
  return n;
}

}  // namespace textops
