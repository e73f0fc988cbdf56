// formatFloatG6 against printf("%g") of the float widened to double, in the
// C locale: every kind of float, both notations, ties, subnormals, the
// range's ends, infinities and NaNs.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "NumberOracles.h"
#include "TextOps.h"

namespace {

using testsupport::bitsFloat;
using testsupport::printfG;
using testsupport::scaled;

std::string fast(float v) {
  char text[textops::kMaxNumberText];
  return std::string(text, textops::formatFloatG6(v, text));
}

class FormatFloatG6 : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::useCLocale(); }
};

TEST_F(FormatFloatG6, KnownTexts) {
  EXPECT_EQ(fast(0.0f), "0");
  EXPECT_EQ(fast(-0.0f), "-0");
  EXPECT_EQ(fast(1.0f), "1");
  EXPECT_EQ(fast(-1.0f), "-1");
  EXPECT_EQ(fast(0.57735f), "0.57735");
  EXPECT_EQ(fast(1e-7f), "1e-07");
  EXPECT_EQ(fast(2.5e6f), "2.5e+06");
  EXPECT_EQ(fast(999999.5f), "1e+06");
  EXPECT_EQ(fast(0.0001f), "0.0001");
  EXPECT_EQ(fast(123456.0f), "123456");
  EXPECT_EQ(fast(1000005.0f), "1e+06");        // a tie goes to the even digit
  EXPECT_EQ(fast(1000015.0f), "1.00002e+06");
  EXPECT_EQ(fast(12345.75f), "12345.8");
  EXPECT_EQ(fast(FLT_MAX), "3.40282e+38");
  EXPECT_EQ(fast(-FLT_MIN), "-1.17549e-38");
  EXPECT_EQ(fast(std::numeric_limits<float>::denorm_min()), "1.4013e-45");
  EXPECT_EQ(fast(INFINITY), "inf");
  EXPECT_EQ(fast(-INFINITY), "-inf");
  EXPECT_EQ(fast(bitsFloat(0x7FC00000u)), "nan");
  EXPECT_EQ(fast(bitsFloat(0xFF800001u)), "-nan");
  // The text the writers' buffers are sized for.
  size_t longest = 0;
  for (float v : {-1.17549e-38f, -0.000123457f, -1.23457e+38f, -1.4013e-45f})
    longest = std::max(longest, fast(v).size());
  EXPECT_EQ(longest, 12u);
}

// Every n-th bit pattern (NaNs included), and random floats, a quarter of
// them subnormal or in the largest binade.
TEST_F(FormatFloatG6, AgreesWithPrintfAcrossTheFloats) {
  const uint64_t step = 6133 * 8 / scaled(8);
  for (uint64_t bits = 0; bits < 0x100000000ull; bits += step) {
    const float v = bitsFloat(uint32_t(bits));
    ASSERT_EQ(fast(v), printfG(v)) << std::hex << bits;
  }
  testsupport::Rng rng(31);
  for (uint64_t i = scaled(400000); i > 0; --i) {
    const float v = testsupport::randomFloat(rng);
    ASSERT_EQ(fast(v), printfG(v)) << std::hex << testsupport::floatBits(v);
  }
}

// All floats around every power of ten of the range, where the notation,
// the digit count or the exponent's digits change.
TEST_F(FormatFloatG6, AgreesWithPrintfAroundPowersOfTen) {
  const uint32_t around = uint32_t(scaled(2000));
  for (int k = -45; k <= 38; ++k) {
    const uint32_t bits = testsupport::floatBits(std::pow(10.0f, float(k)));
    for (uint32_t b = bits > around ? bits - around : 0; b < bits + around && b < 0x7F800000u; ++b) {
      ASSERT_EQ(fast(bitsFloat(b)), printfG(bitsFloat(b))) << std::hex << b;
      ASSERT_EQ(fast(-bitsFloat(b)), printfG(-bitsFloat(b))) << std::hex << b;
    }
  }
}

// Exact ties at the sixth digit: integers ending in 5 or 50 from 10^6 up,
// halves of six-digit and quarters of five-digit integers.
TEST_F(FormatFloatG6, AgreesWithPrintfOnTies) {
  testsupport::Rng rng(5);
  for (uint64_t i = scaled(100000); i > 0; --i) {
    const uint32_t n = 100000 + uint32_t(rng() % 900000);
    const float values[] = {float(n * 10 + 5), float(n * 100 + 50), float(n) + 0.5f,
                            float(n / 10) + 0.25f, float(n * 10 + 5) * 1024};
    for (float v : values) {
      ASSERT_EQ(fast(v), printfG(v)) << v;
      ASSERT_EQ(fast(-v), printfG(-v)) << v;
    }
  }
}

}  // namespace
