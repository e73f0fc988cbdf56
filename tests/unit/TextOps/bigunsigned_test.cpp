#include <gtest/gtest.h>

#include "BigUnsigned.h"

namespace {

using Big = textops::BigUnsigned<8>;

Big make(uint64_t v) {
  Big b;
  textops::setValue(b, v);
  return b;
}

// 10^n built digit by digit equals 5^n * 2^n; products of powers of two and
// five order as their logarithms do.
TEST(BigUnsigned, PowersAgreeAndOrder) {
  for (int n = 0; n <= 70; ++n) {
    Big ten = make(1), five = make(1);
    for (int i = 0; i < n; ++i) textops::mulAdd(ten, 10, 0);
    textops::mulPow5(five, n);
    textops::shiftLeft(five, n);
    ASSERT_EQ(textops::compare(ten, five), 0) << n;
    Big more = ten;
    textops::mulAdd(more, 1, 1);
    EXPECT_EQ(textops::compare(more, ten), 1) << n;
    EXPECT_EQ(textops::compare(ten, more), -1) << n;
    EXPECT_FALSE(ten.lost || five.lost || more.lost);
  }
  for (int a = 0; a < 100; a += 7) {
    for (int b = 0; b < 100; b += 3) {
      // 2^a against 5^b: 2^a > 5^b exactly when a > b log2(5).
      Big two = make(1), five = make(1);
      textops::shiftLeft(two, a);
      textops::mulPow5(five, b);
      const int expected = a == 0 && b == 0 ? 0 : a > b * 2.321928094887362 ? 1 : -1;
      EXPECT_EQ(textops::compare(two, five), expected) << a << " " << b;
    }
  }
  Big x = make(0x123456789ABCDEFull);
  textops::shiftLeft(x, 37);
  Big y = make(0x123456789ABCDEFull);
  for (int i = 0; i < 37; ++i) textops::mulAdd(y, 2, 0);
  EXPECT_EQ(textops::compare(x, y), 0);
}

// A value past the capacity is flagged, and nothing is written outside.
TEST(BigUnsigned, OverflowIsFlaggedNotWritten) {
  textops::BigUnsigned<2> a;
  textops::setValue(a, ~0ull);
  textops::mulAdd(a, 3, 0);
  EXPECT_TRUE(a.lost);
  textops::setValue(a, 1);
  textops::shiftLeft(a, 63);
  EXPECT_FALSE(a.lost);
  textops::shiftLeft(a, 1);
  EXPECT_TRUE(a.lost);
  EXPECT_EQ(a.size, 2);
}

}  // namespace
