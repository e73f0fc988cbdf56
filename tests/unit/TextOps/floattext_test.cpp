#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <string>

#include "TextOps.h"

namespace {

std::string fast(float v) {
  char text[textops::kMaxNumberText];
  return std::string(text, textops::formatFloatG6(v, text));
}

std::string printfG(float v) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", double(v));
  return text;
}

float fromBits(uint32_t bits) {
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

TEST(FormatFloatG6, KnownTexts) {
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
  EXPECT_EQ(fast(FLT_MAX), printfG(FLT_MAX));
  EXPECT_EQ(fast(FLT_MIN), printfG(FLT_MIN));
}

// Every 6133rd bit pattern of both signs, and all floats around the
// magnitudes where the notation or the digit count changes.
TEST(FormatFloatG6, AgreesWithPrintfAcrossTheFloats) {
  size_t checked = 0;
  for (uint64_t bits = 0; bits < 0x100000000ull; bits += 6133) {
    float v = fromBits(uint32_t(bits));
    if (v != v) continue;
    ASSERT_EQ(fast(v), printfG(v)) << std::hex << bits;
    ++checked;
  }
  for (float edge : {1e-5f, 1e-4f, 1e-3f, 0.1f, 1.0f, 10.0f, 1e5f, 1e6f}) {
    uint32_t bits;
    std::memcpy(&bits, &edge, sizeof bits);
    for (uint32_t b = bits - 4000; b < bits + 4000; ++b) {
      ASSERT_EQ(fast(fromBits(b)), printfG(fromBits(b))) << std::hex << b;
      ASSERT_EQ(fast(-fromBits(b)), printfG(-fromBits(b))) << std::hex << b;
      ++checked;
    }
  }
  EXPECT_GT(checked, 700000u);
}

}  // namespace
