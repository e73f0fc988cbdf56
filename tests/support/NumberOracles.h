// Reference results for the float parser and formatter from the C library in
// the C locale (strtof, snprintf "%g"), and generators of numerals and values
// that reach the hard cases: long significands, exact midpoints between
// floats and numerals just off them, subnormals, overflow, spellings the
// stream does not take, junk after the digits. Shared by the unit tests and
// the long hand-run check (tools/numbers-check.cpp).
#pragma once

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace testsupport {

// The C library's conversions below follow the process locale: the tests
// set the C locale (the default of a program that never calls setlocale).
inline void useCLocale() { std::setlocale(LC_ALL, "C"); }

// How much of the long generated loops to run: FENNICK_TEST_SCALE (default
// 1; 0.1 for a slow emulated run, 10 for a longer one).
inline double testScale() {
  const char* s = std::getenv("FENNICK_TEST_SCALE");
  double v = s && *s ? std::atof(s) : 1.0;
  return v > 0 ? v : 1.0;
}
inline uint64_t scaled(uint64_t count) {
  double n = double(count) * testScale();
  return n < 1 ? 1 : uint64_t(n);
}

inline uint32_t floatBits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}
inline float bitsFloat(uint32_t b) {
  float v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

// printf("%g", double(v)).
inline std::string printfG(float v) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", double(v));
  return text;
}

struct StreamFloat {
  bool ok;
  uint32_t bits;  // of the value after the extraction
  size_t next;    // offset where the extraction stopped
};

// `stream >> float` with the classic locale, from the C library: white space
// skipped; the text [sign] digits [. digits] [e [sign] digits] taken (the
// exponent only after a mantissa digit); strtof of it, which must use all of
// it (else 0 and failure); beyond the float range +-FLT_MAX and failure.
// Only white space: `initial` stays and the result is a failure.
inline StreamFloat referenceStreamFloat(const std::string& text, float initial) {
  size_t i = 0, n = text.size();
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i == n) return {false, floatBits(initial), i};
  const size_t start = i;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool mantissaDigit = false, point = false, exponent = false;
  while (i < n) {
    const char c = text[i];
    if (isDigit(c)) {
      mantissaDigit = true;
      ++i;
    } else if (c == '.' && !point && !exponent) {
      point = true;
      ++i;
    } else if ((c == 'e' || c == 'E') && !exponent && mantissaDigit) {
      exponent = true;
      ++i;
      if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    } else {
      break;
    }
  }
  const std::string taken = text.substr(start, i - start);
  char* stop = nullptr;
  float v = std::strtof(taken.c_str(), &stop);
  if (!mantissaDigit || stop != taken.c_str() + taken.size()) return {false, floatBits(0.0f), i};
  if (std::isinf(v)) return {false, floatBits(v < 0 ? -FLT_MAX : FLT_MAX), i};
  return {true, floatBits(v), i};
}

// ---- generators ------------------------------------------------------------

using Rng = std::mt19937_64;

inline std::string randomDigits(Rng& rng, int count) {
  std::string s;
  const int style = int(rng() % 8);
  for (int k = 0; k < count; ++k) {
    if (style == 0) {
      s += '9';
    } else if (style == 1) {
      s += rng() % 4 ? '0' : char('0' + rng() % 10);
    } else {
      s += char('0' + rng() % 10);
    }
  }
  return s;
}

// A digit count: mostly short, sometimes up to 25, rarely 100 to 140.
inline int randomLength(Rng& rng) {
  const uint64_t r = rng() % 100;
  if (r < 12) return 0;
  if (r < 80) return 1 + int(rng() % 9);
  if (r < 97) return 10 + int(rng() % 16);
  return 100 + int(rng() % 41);
}

// Numerals by shape: white space, sign, digits with or without a point,
// leading zeros, exponents near and far beyond the float range, words the
// stream does not take, and junk after the number.
inline std::string randomNumeral(Rng& rng) {
  static const char* const kSpaces[] = {" ", "\t", "  ", "\n", "\r", "\v\f "};
  static const char* const kWords[] = {"inf", "nan", "INF", "NaN", "infinity", "-inf", "+nan",
                                       "-", "+", ".", "-.", "+.", "e5", ".e1", "0x1p3", "0X10",
                                       "1e", "1e+", "1E-", "1.e5", ".5", "5.", "-0", "+0.0e0",
                                       "1..2", "1e5e5", "1e5.5", "--1", "+-1", "00", ""};
  static const char* const kTails[] = {" ", "x", "e", "E", ".", "..5", "e+", "e-x", "/", ",",
                                       "\r\n", "f", "inf", "-1", " 7", "/2/3", "#", "\0z"};
  std::string s;
  if (rng() % 8 == 0) s += kSpaces[rng() % 6];
  if (rng() % 10 == 0) {
    s += kWords[rng() % (sizeof kWords / sizeof *kWords)];
  } else {
    const uint64_t sign = rng() % 10;
    if (sign < 3) s += '-';
    if (sign == 3) s += '+';
    if (rng() % 8 == 0) s += std::string(1 + rng() % 30, '0');
    s += randomDigits(rng, randomLength(rng));
    if (rng() % 3 != 0) {
      s += '.';
      if (rng() % 6 == 0) s += std::string(1 + rng() % 50, '0');
      s += randomDigits(rng, randomLength(rng));
    }
    if (rng() % 3 == 0) {
      s += rng() % 2 ? 'e' : 'E';
      const uint64_t es = rng() % 3;
      if (es == 0) s += '-';
      if (es == 1) s += '+';
      const uint64_t kind = rng() % 20;
      if (kind == 0) {
        s += randomDigits(rng, 1 + int(rng() % 14));  // far beyond the range
      } else if (kind == 1) {
        // no exponent digits
      } else {
        s += std::to_string(rng() % 61);
      }
    }
  }
  if (rng() % 3 == 0) {
    const char* tail = kTails[rng() % (sizeof kTails / sizeof *kTails)];
    s.append(tail, tail[0] ? std::strlen(tail) : 2);
  }
  return s;
}

// A finite float of random bits; a quarter of them subnormal or near the
// ends of the range.
inline float randomFloat(Rng& rng) {
  for (;;) {
    uint32_t b = uint32_t(rng());
    const uint64_t r = rng() % 8;
    if (r == 0) b &= 0x807FFFFFu;  // subnormal
    if (r == 1) b |= 0x7F000000u;  // the largest binade
    const float v = bitsFloat(b);
    if (std::isfinite(v)) return v;
  }
}

// The decimal digits and exponent of a double: "d.ddd...e[+-]xx" with
// `digits` digits after the point (exact when enough are asked for).
inline std::string scientific(double v, int digits) {
  char text[256];
  std::snprintf(text, sizeof text, "%.*e", digits, v);
  return text;
}

// Numerals of float values: printed as printf would, and the exact midpoint
// between a float and the next one up, as it is, cut short, and nudged just
// above or below it far down the digits (past 120 significant digits).
inline std::string randomValueNumeral(Rng& rng) {
  const float v = randomFloat(rng);
  const uint64_t kind = rng() % 12;
  char text[128];
  switch (kind) {
    case 0:
      std::snprintf(text, sizeof text, "%.9g", double(v));
      return text;
    case 1:
      std::snprintf(text, sizeof text, "%.17g", double(v));
      return text;
    case 2:
      std::snprintf(text, sizeof text, "%g", double(v));
      return text;
    case 3: {
      std::snprintf(text, sizeof text, "%.*e", int(rng() % 12), double(v));
      return text;
    }
    case 4: {  // doubles beyond the float range and near its ends
      double d = double(v) * std::ldexp(1.0, int(rng() % 40) - 20);
      std::snprintf(text, sizeof text, "%.12g", d);
      return text;
    }
    default:
      break;
  }
  // Exact in double; above FLT_MAX the midpoint is where rounding overflows.
  const float up = std::nextafter(std::fabs(v), INFINITY);
  const double mid = std::isinf(up) ? double(FLT_MAX) + std::ldexp(1.0, 103)
                                    : (double(std::fabs(v)) + double(up)) / 2;
  std::string sci = scientific(v < 0 ? -mid : mid, 130);        // exact: at most 113 digits
  const size_t e = sci.find('e');
  std::string mantissa = sci.substr(0, e), exponent = sci.substr(e);
  while (mantissa.back() == '0') mantissa.pop_back();
  if (mantissa.back() == '.') mantissa.pop_back();
  switch (kind) {
    case 5:
    case 6:  // exactly the midpoint
      break;
    case 7: {  // cut short: just below it
      const size_t keep = 3 + rng() % 30;
      if (keep < mantissa.size()) mantissa.resize(keep);
      break;
    }
    case 8:  // just above, the difference far down
      if (mantissa.find('.') == std::string::npos) mantissa += '.';
      mantissa += std::string(rng() % 130, '0') + "1";
      break;
    case 9: {  // just below, the difference far down
      size_t last = mantissa.size() - 1;
      if (mantissa[last] == '.' || mantissa.size() < 3) break;
      mantissa[last] = char(mantissa[last] - 1);
      if (mantissa.find('.') == std::string::npos) mantissa += '.';
      mantissa += std::string(rng() % 130, '9');
      break;
    }
    case 10:  // the midpoint with trailing zeros past the kept digits
      if (mantissa.find('.') == std::string::npos) mantissa += '.';
      mantissa += std::string(rng() % 200, '0');
      break;
    default: {  // in fixed notation, when it is not too long
      std::snprintf(text, sizeof text, "%.60f", v < 0 ? -mid : mid);
      std::string fixed = text;
      if (fixed.size() < 100) return fixed;
      break;
    }
  }
  return mantissa + exponent;
}

}  // namespace testsupport
