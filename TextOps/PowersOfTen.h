// Powers of ten shared by the number scanners and the float formatter.
// Namespace-scope constants have internal linkage: each reader addresses its
// own copy directly (tables inside inline functions are shared objects that
// position-independent code reaches through one more load).
#pragma once

namespace textops {

// 10^0 .. 10^10, each exact in float.
constexpr float kFloatPowers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                    1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
// 10^0 .. 10^22, each exact in double.
constexpr double kDoublePowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

namespace {
// 10^n in double precision for 0 <= n <= 66: exact up to 10^22, else one or
// two roundings (relative error at most 2^-52).
inline double power10(int n) {
  double p = 1.0;
  for (; n > 22; n -= 22) p *= 1e22;
  return p * kDoublePowers[n];
}
}  // namespace

}  // namespace textops
