// The fast number paths against the standard library's own rules, on many
// generated inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "TextOps.h"

namespace {

std::string randomNumeral(std::mt19937& rng) {
  static const char* pieces[] = {"0", "1", "7", "9", "00", "123", "4567", ".", ".5",
                                 "e", "E", "e-", "e+", "+", "-", " ", "\t", "x",
                                 "inf", "nan", "e38", "e39", "e-45", "e-50", "99999999999",
                                 "3.4028235", "1.17549435", "\r", ",", "/"};
  std::uniform_int_distribution<int> count(1, 6);
  std::uniform_int_distribution<size_t> pick(0, sizeof pieces / sizeof *pieces - 1);
  std::string s;
  for (int i = count(rng); i > 0; --i) s += pieces[pick(rng)];
  return s;
}

void expectSameFloat(const std::string& text) {
  std::istringstream in(text);
  float expected = 123.25f;
  in >> expected;
  bool expectedOk = !in.fail();
  float got = 123.25f;
  textops::ParseResult r = textops::parseStreamFloat(text.data(), text.data() + text.size(), got);
  ASSERT_EQ(r.ok, expectedOk) << '"' << text << '"';
  uint32_t a, b;
  std::memcpy(&a, &expected, 4);
  std::memcpy(&b, &got, 4);
  ASSERT_EQ(a, b) << '"' << text << "\" expected " << expected << " got " << got;
  if (expectedOk) {
    std::streamoff consumed = in.eof() ? std::streamoff(text.size()) : std::streamoff(in.tellg());
    ASSERT_EQ(consumed, r.next - text.data()) << '"' << text << '"';
  }
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

TEST(StreamFloat, AgreesWithStreamExtractionOnGeneratedTexts) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 200000; ++i) expectSameFloat(randomNumeral(rng));
}

TEST(StreamFloat, AgreesOnRandomBitPatternsWrittenOut) {
  std::mt19937 rng(777);
  std::uniform_int_distribution<uint32_t> bits;
  for (int i = 0; i < 100000; ++i) {
    uint32_t b = bits(rng);
    float f;
    std::memcpy(&f, &b, 4);
    if (!std::isfinite(f)) continue;
    char text[64];
    std::snprintf(text, sizeof text, i % 2 ? "%.9g" : "%.3e", double(f));
    expectSameFloat(text);
  }
}

TEST(StreamFloat, EdgeCases) {
  for (const char* t : {"", "   ", "-", "+", ".", "-.", "1e", "1e+", "1.5e-3x", "  -0",
                        "3.4028236e38", "-1e39", "1e-46", "1e-45", "00012.5", "1..2",
                        "12345678901234567890123456789", "0x1p3", "inf", "nan", "1,5"})
    expectSameFloat(t);
}

TEST(StreamInt, AgreesWithStreamExtraction) {
  for (const char* t : {"", "  ", "12", "-12", "+7", "-", "+", "2147483647", "2147483648",
                        "-2147483648", "-2147483649", "99999999999999999999", " \t42x",
                        "0012", "=77", "\r5", "1.5", "-0"})
    expectSameInt(t);
  std::mt19937 rng(99);
  for (int i = 0; i < 100000; ++i) expectSameInt(randomNumeral(rng));
}

TEST(FormatG6, MatchesPrintfOnManyValues) {
  std::mt19937_64 rng(4242);
  std::uniform_int_distribution<uint64_t> bits;
  char ours[textops::kMaxNumberText];
  char theirs[64];
  for (int i = 0; i < 300000; ++i) {
    double d;
    if (i % 3 == 0) {
      uint32_t b = uint32_t(bits(rng));
      float f;
      std::memcpy(&f, &b, 4);
      d = f;
    } else if (i % 3 == 1) {
      uint64_t b = bits(rng);
      std::memcpy(&d, &b, 8);
    } else {
      d = double(int64_t(bits(rng) % 2000001) - 1000000) / std::pow(10.0, double(bits(rng) % 12));
    }
    if (std::isnan(d)) continue;
    size_t n = textops::formatG6(d, ours);
    std::snprintf(theirs, sizeof theirs, "%g", d);
    ASSERT_EQ(std::string(ours, n), std::string(theirs)) << d;
  }
  for (double d : {0.5, 1.0 / 3, 0.0001, 0.0000001, 2e6, -0.0, 999999.5, 9.999995e-5, 1e100}) {
    size_t n = textops::formatG6(d, ours);
    std::snprintf(theirs, sizeof theirs, "%g", d);
    EXPECT_EQ(std::string(ours, n), std::string(theirs));
  }
}

}  // namespace
