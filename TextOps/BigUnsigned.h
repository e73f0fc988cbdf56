// Unsigned integers of a few hundred bits for the exact paths of the float
// parser and formatter: built from products of small numbers, powers of five
// and powers of two, then compared. No division: those paths estimate in
// double precision and let exact comparisons settle the last step.
#pragma once

#include <cstdint>

namespace textops {

template <int Limbs>
struct BigUnsigned {
  uint32_t limb[Limbs];  // least significant first; limbs from `size` on are 0
  int size = 0;          // limbs in use, the highest nonzero
  bool lost = false;     // a result needed more than Limbs limbs (callers size
                         // their values so that this never happens)
};

template <int L>
inline void setValue(BigUnsigned<L>& a, uint64_t v) noexcept {
  a.size = 0;
  a.lost = false;
  while (v != 0) {
    a.limb[a.size++] = uint32_t(v);
    v >>= 32;
  }
}

// a = a * factor + add.
template <int L>
inline void mulAdd(BigUnsigned<L>& a, uint32_t factor, uint32_t add) noexcept {
  uint64_t carry = add;
  for (int i = 0; i < a.size; ++i) {
    uint64_t t = uint64_t(a.limb[i]) * factor + carry;
    a.limb[i] = uint32_t(t);
    carry = t >> 32;
  }
  if (carry != 0) {
    if (a.size < L) {
      a.limb[a.size++] = uint32_t(carry);
    } else {
      a.lost = true;
    }
  }
  while (a.size > 0 && a.limb[a.size - 1] == 0) --a.size;
}

template <int L>
inline void mulPow5(BigUnsigned<L>& a, int n) noexcept {
  static constexpr uint32_t kPow5[14] = {1,       5,        25,        125,       625,
                                         3125,    15625,    78125,     390625,    1953125,
                                         9765625, 48828125, 244140625, 1220703125};
  for (; n >= 13; n -= 13) mulAdd(a, kPow5[13], 0);
  if (n > 0) mulAdd(a, kPow5[n], 0);
}

template <int L>
inline void shiftLeft(BigUnsigned<L>& a, int bits) noexcept {
  if (a.size == 0 || bits <= 0) return;
  const int words = bits / 32, rest = bits % 32;
  int size = a.size + words + 1;
  if (size > L) {
    // Only a zero top limb may be cut.
    const uint32_t top = rest ? a.limb[a.size - 1] >> (32 - rest) : 0;
    if (size - 1 > L || top != 0) {
      a.lost = true;
      return;
    }
    size = L;
  }
  for (int i = size - 1; i >= words; --i) {
    const int from = i - words;
    uint32_t hi = from < a.size ? a.limb[from] : 0;
    uint32_t lo = from - 1 >= 0 && from - 1 < a.size ? a.limb[from - 1] : 0;
    a.limb[i] = rest ? (hi << rest) | (lo >> (32 - rest)) : hi;
  }
  for (int i = 0; i < words; ++i) a.limb[i] = 0;
  a.size = size;
  while (a.size > 0 && a.limb[a.size - 1] == 0) --a.size;
}

// -1, 0 or 1 as a <, = or > b.
template <int L>
inline int compare(const BigUnsigned<L>& a, const BigUnsigned<L>& b) noexcept {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int i = a.size - 1; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  }
  return 0;
}

}  // namespace textops
