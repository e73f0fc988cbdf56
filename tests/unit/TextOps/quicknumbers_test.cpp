#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "QuickNumbers.h"

namespace {

textops::ParseResult quickFloat(const char* p, const char* end, float& v) {
  return textops::parseStreamFloatQuick(p, end, v);
}
textops::ParseResult quickInt(const char* p, const char* end, int32_t& v) {
  return textops::parseStreamIntQuick(p, end, v);
}

// The fast paths must give exactly what the full parsers give: value, bits,
// success and stopping point, on plain numerals and on everything near them.
template <class T, class Full, class Quick>
void expectSame(const std::string& text, Full full, Quick quick) {
  T a = T(123), b = T(123);
  textops::ParseResult ra = full(text.data(), text.data() + text.size(), a);
  textops::ParseResult rb = quick(text.data(), text.data() + text.size(), b);
  EXPECT_EQ(ra.ok, rb.ok) << '"' << text << '"';
  EXPECT_EQ(ra.next - text.data(), rb.next - text.data()) << '"' << text << '"';
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << '"' << text << '"' << a << " " << b;
}

// The same with the text cut at `cut` and the rest left readable behind the
// end: bytes past the end (digits, points, exponents) must never be taken.
template <class T, class Full, class Quick>
void expectSameWithin(const std::string& text, size_t cut, Full full, Quick quick) {
  T a = T(123), b = T(123);
  const char* begin = text.data();
  textops::ParseResult ra = full(begin, begin + cut, a);
  textops::ParseResult rb = quick(begin, begin + cut, begin + text.size(), b);
  const std::string shown = text.substr(0, cut) + "|" + text.substr(cut);
  EXPECT_EQ(ra.ok, rb.ok) << '"' << shown << '"';
  EXPECT_EQ(ra.next - begin, rb.next - begin) << '"' << shown << '"';
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << '"' << shown << '"' << a << " " << b;
}

TEST(QuickNumbers, NothingPastTheEndIsTaken) {
  std::mt19937 rng(23);
  const char* tails[] = {"123456789012345678", ".5678901234567890", "e10 1234567890123",
                         "0000000000000000000", "/99 98 97 96 95 94", " 1 2 3 4 5 6 7 8 9"};
  for (int i = 0; i < 200000; ++i) {
    std::string t = i % 4 == 0 ? "-" : "";
    int whole = 1 + int(rng() % 8), fraction = int(rng() % 9);
    for (int k = 0; k < whole; ++k) t += char('0' + rng() % 10);
    if (fraction > 0 || rng() % 4 == 0) t += '.';
    for (int k = 0; k < fraction; ++k) t += char('0' + rng() % 10);
    size_t cut = t.size() - rng() % (t.size() + 1) / (rng() % 2 ? 1 : 4);
    if (rng() % 2) cut = t.size();
    t += tails[rng() % 6];
    expectSameWithin<float>(t, cut, textops::parseStreamFloat,
                            [](const char* p, const char* e, const char* l, float& v) {
                              return textops::parseStreamFloatQuick(p, e, l, v);
                            });
    expectSameWithin<int32_t>(t, cut, textops::parseStreamInt,
                              [](const char* p, const char* e, const char* l, int32_t& v) {
                                return textops::parseStreamIntQuick(p, e, l, v);
                              });
  }
}

TEST(QuickNumbers, FloatsMatchTheFullParser) {
  const char* fixed[] = {"0", "-0", "+0", "1", "0.5", "-0.019766", "16777216", "16777217",
                         "167772161", "0.16777217", "1.0000001", "0.0000000001",
                         "0.00000000001", "5.", ".5", "-", "+", "", "  ", " 7 8", "\t-3.25x",
                         "1e5", "1.5e-3", "1E2", "3.5.2", "12abc", "0x10", "9999999999999",
                         "0.333333333", "2.718281828", "1/2", "4\r", "-.5", "00000000000000012.5",
                         "-0.019766 0.211389 1\n", "16777216.0 1 2 3 4 5 6", "16777217.0 1 2 3 4 5",
                         "1677721.7 1 2 3 4 5 6", "5. 1 2 3 4 5 6 7 8 9", "12345678.5 1 2 3 4 5",
                         "1234567.12345678 1 2 3", "0.1234567 0.5 word 1", "7.5e3 1 2 3 4 5 6 7",
                         "7.5.3 1 2 3 4 5 6 7", "0.00000001 1 2 3 4 5 6"};
  for (const char* t : fixed)
    expectSame<float>(t, textops::parseStreamFloat, quickFloat);
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> len(1, 12), digit(0, 9), kind(0, 5);
  for (int i = 0; i < 300000; ++i) {
    std::string t;
    if (kind(rng) == 0) t += '-';
    int a = len(rng), b = len(rng) - 1;
    for (int k = 0; k < a; ++k) t += char('0' + digit(rng));
    if (b > 0) {
      t += '.';
      for (int k = 0; k < b; ++k) t += char('0' + digit(rng));
    }
    // Short tails take the byte-wise path, long ones the 8-byte one.
    const char* tails[] = {"", " 1", "\r", "/", "e", ".", "x",
                           " 0.25 0.5 0.75 1\n", "/12/13 14/15/16\r\n", "e5 0.000001 0.5",
                           ".5 1.5 2.5 3.5 4.5", "                  "};
    t += tails[std::uniform_int_distribution<int>(0, 11)(rng)];
    expectSame<float>(t, textops::parseStreamFloat, quickFloat);
  }
}

TEST(QuickNumbers, IntsMatchTheFullParser) {
  const char* fixed[] = {"0", "-0", "+5", "123456789", "1234567890", "2147483647",
                         "2147483648", "-2147483648", "-2147483649", "99999999999", "",
                         " ", "-", "x", "7/8", " 12\r", "\t3", "000000000000007"};
  for (const char* t : fixed)
    expectSame<int32_t>(t, textops::parseStreamInt, quickInt);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> len(1, 12), digit(0, 9);
  for (int i = 0; i < 100000; ++i) {
    std::string t = i % 3 == 0 ? "-" : "";
    int n = len(rng);
    for (int k = 0; k < n; ++k) t += char('0' + digit(rng));
    if (i % 2) t += "/123456 7/8/9 10/11/12";
    expectSame<int32_t>(t, textops::parseStreamInt, quickInt);
  }
}

// The two digit runs agree on every prefix length; the plain numeral reader
// with either gives what the full parser gives, or declines.
TEST(QuickNumbers, DigitRunsAndPlainFloats) {
  std::mt19937 rng(41);
  for (int i = 0; i < 200000; ++i) {
    std::string t;
    if (rng() % 3 == 0) t += rng() % 2 ? '-' : '+';
    const int whole = int(rng() % 10), fraction = int(rng() % 10);
    for (int k = 0; k < whole; ++k) t += char('0' + rng() % 10);
    const bool point = rng() % 3 != 0;
    if (point) t += '.';
    for (int k = 0; k < fraction; ++k) t += char('0' + rng() % 10);
    std::string mantissa;
    for (char c : t) {
      if (c >= '0' && c <= '9') mantissa += c;
    }
    const char* tails[] = {" 1 2 3 4 5 6 7 8 9 10", "\n v 1 2 3\n", "e5 1 2 3 4 5 6 7 8",
                           ".5 1 2 3 4 5 6 7 8 9", "x/1/2/3 4/5/6 7/8/9", "                   "};
    const int tail = int(rng() % 6);
    t += tails[tail];
    uint32_t a, b;
    const int na = textops::digitRun8(t.data(), a), nb = textops::digitRunBytes(t.data(), b);
    ASSERT_EQ(na, nb) << t;
    if (na < 8) {
      ASSERT_EQ(a, b) << t;
    }
    const size_t cut = rng() % 2 ? t.size() : rng() % (t.size() + 1);
    const char* begin = t.data();
    float full = 123, viaWords = 123, viaBytes = 123;
    textops::ParseResult r = textops::parseStreamFloat(begin, begin + cut, full);
    const char* w = textops::plainFloat<textops::digitRun8>(begin, begin + cut, begin + t.size(),
                                                            viaWords);
    const char* y = textops::plainFloat<textops::digitRunBytes>(begin, begin + cut,
                                                                begin + t.size(), viaBytes);
    float toEnd = 123;
    const char* z = textops::plainFloat<textops::digitRunBytes>(begin, begin + cut, toEnd);
    for (auto got : {std::make_pair(w, viaWords), std::make_pair(y, viaBytes),
                     std::make_pair(z, toEnd)}) {
      if (!got.first) continue;
      ASSERT_TRUE(r.ok) << t << " cut " << cut;
      ASSERT_EQ(got.first, r.next) << t << " cut " << cut;
      ASSERT_EQ(std::memcmp(&got.second, &full, sizeof full), 0) << t << " cut " << cut;
    }
    // 1-7 digits, or 1-7 and 1-7 with a point, a mantissa up to 2^24, room
    // to read and no exponent or point after it: never declined.
    if (cut == t.size() && t.size() >= 18 && whole > 0 && whole < 8 && fraction < 8 && point == (fraction > 0) &&
        std::stoull(mantissa) <= 16777216u && tail != 2 && tail != 3) {
      ASSERT_NE(w, nullptr) << t;
      ASSERT_NE(y, nullptr) << t;
    }
  }
}

TEST(QuickNumbers, PlainDigitsAndWholeInts) {
  std::mt19937 rng(43);
  for (int i = 0; i < 200000; ++i) {
    std::string t;
    if (rng() % 8 == 0) t += rng() % 2 ? '-' : '+';
    const int n = int(rng() % 12);
    for (int k = 0; k < n; ++k) t += char('0' + rng() % 10);
    const char* tails[] = {"", "/", "/7/8 9/10/11 12/13/14", " ", "x", "\r\n"};
    const std::string tail = tails[rng() % 6];
    const std::string all = t + tail + "123456789";  // digits past the end to tempt a read
    const char* begin = all.data();
    const char* end = begin + t.size() + tail.size();
    // plainDigits: up to nine digits, declined when a tenth follows within end.
    const char* p = begin;
    uint32_t v = 0;
    const bool taken = textops::plainDigits(p, end, begin + all.size(), v);
    size_t digits = 0;
    while (digits < t.size() + tail.size() && all[digits] >= '0' && all[digits] <= '9') ++digits;
    ASSERT_EQ(taken, digits > 0 && digits <= 9) << all;
    if (taken) {
      ASSERT_EQ(size_t(p - begin), digits) << all;
      ASSERT_EQ(v, uint32_t(std::stoul(all.substr(0, digits)))) << all;
    }
    // parseWholeInt: the stream rule over exactly [begin, begin + size).
    int32_t whole = 0, streamed = 0;
    const bool ok = textops::parseWholeInt(begin, begin + t.size(), whole);
    textops::ParseResult r = textops::parseStreamInt(begin, begin + t.size(), streamed);
    ASSERT_EQ(ok, r.ok && r.next == begin + t.size()) << t;
    if (ok) {
      ASSERT_EQ(whole, streamed) << t;
    }
  }
}

}  // namespace
