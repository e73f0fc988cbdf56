#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ExportArgs.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ExportArgs, Int32TruncationNeverReachesAnUndefinedCast) {
  EXPECT_EQ(fennick::toInt32Truncated(2.9), 2);
  EXPECT_EQ(fennick::toInt32Truncated(-0.5), 0);
  EXPECT_EQ(fennick::toInt32Truncated(-2.7), -2);
  EXPECT_EQ(fennick::toInt32Truncated(2147483647.9), INT32_MAX);
  EXPECT_EQ(fennick::toInt32Truncated(-2147483648.9), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(2147483648.0), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(-2147483649.0), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(kNaN), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(kInf), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(-kInf), INT32_MIN);
  EXPECT_EQ(fennick::toInt32Truncated(1e300), INT32_MIN);
}

TEST(ExportArgs, ByteCountIs150UnlessGreater) {
  EXPECT_EQ(fennick::byteCountArg(0), 150);
  EXPECT_EQ(fennick::byteCountArg(-1e9), 150);
  EXPECT_EQ(fennick::byteCountArg(kNaN), 150);
  EXPECT_EQ(fennick::byteCountArg(-kInf), 150);
  EXPECT_EQ(fennick::byteCountArg(150.9), 150);
  EXPECT_EQ(fennick::byteCountArg(151), 151);
  EXPECT_EQ(fennick::byteCountArg(200.7), 200);
  EXPECT_EQ(fennick::byteCountArg(1e300), INT32_MAX);
  EXPECT_EQ(fennick::byteCountArg(kInf), INT32_MAX);
}

TEST(ExportArgs, FlagIsSetForEveryNonZeroNumber) {
  EXPECT_FALSE(fennick::flagArg(0.0));
  EXPECT_FALSE(fennick::flagArg(-0.0));
  EXPECT_TRUE(fennick::flagArg(0.001));
  EXPECT_TRUE(fennick::flagArg(kNaN));
  EXPECT_TRUE(fennick::flagArg(-kInf));
}

}  // namespace
