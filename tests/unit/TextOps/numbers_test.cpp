// The stream-rule parsers against the C library in the C locale and, with
// libstdc++ (whose extraction rules they follow), against the stream itself,
// on many generated numerals and values.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "NumberOracles.h"
#include "TextOps.h"

namespace {

using testsupport::floatBits;
using testsupport::scaled;

std::string shown(const std::string& text) {
  std::string s = "\"";
  for (char c : text) {
    if (c >= 32 && c < 127) {
      s += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", unsigned(static_cast<unsigned char>(c)));
      s += hex;
    }
  }
  return s + "\"";
}

// Value bits, success and stopping point as the C library gives them.
void expectAsCLibrary(const std::string& text) {
  const float initial = 123.25f;
  float got = initial;
  textops::ParseResult r = textops::parseStreamFloat(text.data(), text.data() + text.size(), got);
  testsupport::StreamFloat want = testsupport::referenceStreamFloat(text, initial);
  ASSERT_EQ(r.ok, want.ok) << shown(text);
  ASSERT_EQ(floatBits(got), want.bits) << shown(text) << " got " << got;
  ASSERT_EQ(size_t(r.next - text.data()), want.next) << shown(text);
}

class StreamFloat : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::useCLocale(); }
};

TEST_F(StreamFloat, GeneratedNumeralsAgreeWithTheCLibrary) {
  testsupport::Rng rng(12345);
  for (uint64_t i = scaled(1000000); i > 0; --i) expectAsCLibrary(testsupport::randomNumeral(rng));
}

// Printed floats, doubles beyond the float range, and exact midpoints between
// floats as they are, cut short and nudged far down their digits.
TEST_F(StreamFloat, ValuesAndMidpointsAgreeWithTheCLibrary) {
  testsupport::Rng rng(777);
  for (uint64_t i = scaled(250000); i > 0; --i)
    expectAsCLibrary(testsupport::randomValueNumeral(rng));
}

TEST_F(StreamFloat, RangeEndsTiesAndLongSignificands) {
  struct Case {
    const char* text;
    float value;
    bool ok;
  };
  const float one = 1.0f, aboveOne = std::nextafter(1.0f, 2.0f);
  const float least = std::nextafter(0.0f, 1.0f);
  const std::string zeros150(150, '0');
  // 1 + 2^-24, halfway between 1 and the next float: the tie goes to 1.
  const std::string half = "1.000000059604644775390625";
  // 2^-150, half the least subnormal: a tie that goes to 0.
  const std::string leastHalf =
      "7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743"
      "319094181060791015625e-46";
  const Case cases[] = {
      {"3.4028235e38", FLT_MAX, true},
      {"3.40282356e38", FLT_MAX, true},   // below the midpoint to 2^128
      {"3.4028236e38", FLT_MAX, false},   // above it: overflow
      {"-1e39", -FLT_MAX, false},
      {"1e99999999999999", FLT_MAX, false},
      {"1e-46", 0.0f, true},              // underflow: rounded, and success
      {"-1e-99999999999", -0.0f, true},
      {"1e-45", least, true},
      {"1.1754942e-38", std::nextafter(FLT_MIN, 0.0f), true},
      {"-0", -0.0f, true},
      {"0e999999", 0.0f, true},
      {"16777217", 16777216.0f, true},    // tie to even
      {"16777219", 16777220.0f, true},
      {"9007199254740993", 9007199254740992.0f, true},
      {"1e", 0.0f, false},
      // A mantissa beyond the range with exponent digits missing is no
      // whole number either: 0 and failure, not +-FLT_MAX or an underflow.
      {"-1000000000000000000000000000000000000000000e", 0.0f, false},
      {"0.00000000000000000000000000000000000000000000000001e+", 0.0f, false},
      {"1e+", 0.0f, false},
      {"-.", 0.0f, false},
      {"5.e1", 50.0f, true},
      {".5e-1", 0.05f, true},
      {"0.1", 0.1f, true},
      {"3.3554431e7", 33554432.0f, true},
  };
  for (const Case& c : cases) {
    float got = 123.25f;
    const std::string text = c.text;
    textops::ParseResult r = textops::parseStreamFloat(text.data(), text.data() + text.size(), got);
    EXPECT_EQ(r.ok, c.ok) << text;
    EXPECT_EQ(floatBits(got), floatBits(c.value)) << text << " got " << got;
    EXPECT_EQ(r.next, text.data() + text.size()) << text;
    expectAsCLibrary(text);
  }
  // Digits past the 120 the exact path keeps still decide a tie.
  const struct {
    std::string text;
    float value;
  } ties[] = {
      {half, one},
      {half + zeros150, one},
      {half + zeros150 + "1", aboveOne},
      {"0.1" + half.substr(2) + zeros150 + "1e1", aboveOne},
      {"1.0000000596046447753906249" + std::string(150, '9'), one},
      {std::string(130, '0') + half + zeros150 + "1x", aboveOne},
      {leastHalf, 0.0f},
      {leastHalf.substr(0, leastHalf.size() - 4) + zeros150 + "1e-46", least},
  };
  for (const auto& t : ties) {
    float got = 0;
    textops::ParseResult r =
        textops::parseStreamFloat(t.text.data(), t.text.data() + t.text.size(), got);
    EXPECT_TRUE(r.ok) << t.text;
    EXPECT_EQ(floatBits(got), floatBits(t.value)) << t.text << " got " << got;
    expectAsCLibrary(t.text);
  }
}

TEST_F(StreamFloat, OnlyWhiteSpaceLeavesTheValue) {
  for (const char* t : {"", " ", "\t\r\n\v\f"}) {
    float v = 42.5f;
    textops::ParseResult r = textops::parseStreamFloat(t, t + std::strlen(t), v);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(v, 42.5f);
    EXPECT_EQ(r.next, t + std::strlen(t));
  }
}

#if defined(__GLIBCXX__)
// libstdc++'s extraction is what the readers followed: the same text taken,
// the same value, the same failures.
void expectAsStream(const std::string& text) {
  std::istringstream in(text);
  float expected = 123.25f;
  in >> expected;
  bool expectedOk = !in.fail();
  float got = 123.25f;
  textops::ParseResult r = textops::parseStreamFloat(text.data(), text.data() + text.size(), got);
  ASSERT_EQ(r.ok, expectedOk) << shown(text);
  ASSERT_EQ(floatBits(expected), floatBits(got)) << shown(text);
  if (expectedOk) {
    std::streamoff consumed = in.eof() ? std::streamoff(text.size()) : std::streamoff(in.tellg());
    ASSERT_EQ(consumed, r.next - text.data()) << shown(text);
  }
}

TEST_F(StreamFloat, AgreesWithLibstdcxxStreamExtraction) {
  testsupport::Rng rng(4711);
  for (uint64_t i = scaled(100000); i > 0; --i) {
    expectAsStream(testsupport::randomNumeral(rng));
    expectAsStream(testsupport::randomValueNumeral(rng));
  }
}
#endif

std::string randomIntText(std::mt19937& rng) {
  static const char* pieces[] = {"0", "1", "7", "9", "00", "123", "4567", ".", ".5",
                                 "e", "+", "-", " ", "\t", "x", "99999999999", "\r", ",", "/"};
  std::uniform_int_distribution<int> count(1, 6);
  std::uniform_int_distribution<size_t> pick(0, sizeof pieces / sizeof *pieces - 1);
  std::string s;
  for (int i = count(rng); i > 0; --i) s += pieces[pick(rng)];
  return s;
}

void expectSameInt(const std::string& text) {
  std::istringstream in(text);
  int expected = 4242;
  in >> expected;
  bool expectedOk = !in.fail();
  int32_t got = 4242;
  textops::ParseResult r = textops::parseStreamInt(text.data(), text.data() + text.size(), got);
  ASSERT_EQ(r.ok, expectedOk) << '"' << text << '"';
  ASSERT_EQ(expected, got) << '"' << text << '"';
}

TEST(StreamInt, AgreesWithStreamExtraction) {
  for (const char* t : {"", "  ", "12", "-12", "+7", "-", "+", "2147483647", "2147483648",
                        "-2147483648", "-2147483649", "99999999999999999999", " \t42x",
                        "0012", "=77", "\r5", "1.5", "-0"})
    expectSameInt(t);
  std::mt19937 rng(99);
  for (int i = 0; i < 100000; ++i) expectSameInt(randomIntText(rng));
}

}  // namespace
