// Number parsing with the classic-locale stream extraction rules and %g
// formatting, built on std::from_chars / std::to_chars (locale-free), and
// integer formatting by digit pairs.
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>

#include "DirectText.h"
#include "TextOps.h"

namespace textops {

namespace {

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Collects what the stream's float extraction takes: [sign] digits
// [. digits] [e [sign] digits], the exponent only after a mantissa digit.
// Returns the end of the taken text.
const char* collectFloatText(const char* p, const char* end, bool& anyDigit) {
  anyDigit = false;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  bool seenPoint = false;
  bool seenExponent = false;
  while (p < end) {
    char c = *p;
    if (isDigit(c)) {
      anyDigit = true;
      ++p;
    } else if (c == '.' && !seenPoint && !seenExponent) {
      seenPoint = true;
      ++p;
    } else if ((c == 'e' || c == 'E') && !seenExponent && anyDigit) {
      seenExponent = true;
      ++p;
      if (p < end && (*p == '+' || *p == '-')) ++p;
    } else {
      break;
    }
  }
  return p;
}

// Rough decimal magnitude of a numeral that from_chars found out of range:
// positive means overflow, negative underflow.
long decimalMagnitude(const char* p, const char* end) {
  long intDigits = 0;
  long leadingFractionZeros = 0;
  bool nonZeroSeen = false;
  bool inFraction = false;
  while (p < end && (isDigit(*p) || *p == '.')) {
    if (*p == '.') {
      inFraction = true;
    } else if (!inFraction) {
      if (nonZeroSeen || *p != '0') {
        nonZeroSeen = true;
        ++intDigits;
      }
    } else if (!nonZeroSeen) {
      if (*p == '0') {
        ++leadingFractionZeros;
      } else {
        nonZeroSeen = true;
      }
    }
    ++p;
  }
  long exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    for (; p < end && isDigit(*p); ++p) {
      if (exponent < 100000000) exponent = exponent * 10 + (*p - '0');
    }
    if (negative) exponent = -exponent;
  }
  return intDigits > 0 ? intDigits + exponent : exponent - leadingFractionZeros;
}

}  // namespace

ParseResult parseStreamFloat(const char* p, const char* end, float& value) noexcept {
  while (p < end && isStreamSpace(*p)) ++p;
  if (p == end) return {p, false};
  bool anyDigit;
  const char* taken = collectFloatText(p, end, anyDigit);
  const char* digits = p;
  bool negative = false;
  if (digits < taken && (*digits == '+' || *digits == '-')) negative = *digits++ == '-';
  if (!anyDigit) {
    value = 0.0f;
    return {taken, false};
  }
  float parsed = 0.0f;
  auto r = std::from_chars(digits, taken, parsed, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (decimalMagnitude(digits, taken) > 0) {
      value = negative ? -FLT_MAX : FLT_MAX;
      return {taken, false};
    }
    value = negative ? -0.0f : 0.0f;
    return {taken, true};
  }
  if (r.ec != std::errc() || r.ptr != taken) {
    // The taken text is no whole number (for example "1e" or "."): the
    // stream rejects all of it.
    value = 0.0f;
    return {taken, false};
  }
  value = negative ? -parsed : parsed;
  return {taken, true};
}

ParseResult parseStreamInt(const char* p, const char* end, int32_t& value) noexcept {
  while (p < end && isStreamSpace(*p)) ++p;
  if (p == end) return {p, false};
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* firstDigit = p;
  int64_t magnitude = 0;
  bool overflow = false;
  for (; p < end && isDigit(*p); ++p) {
    if (!overflow) {
      magnitude = magnitude * 10 + (*p - '0');
      if (magnitude > int64_t(INT32_MAX) + 1) overflow = true;
    }
  }
  if (p == firstDigit) {
    value = 0;
    return {p, false};
  }
  if (!negative && (overflow || magnitude > INT32_MAX)) {
    value = INT32_MAX;
    return {p, false};
  }
  if (negative && overflow) {
    value = INT32_MIN;
    return {p, false};
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return {p, true};
}

size_t formatG6(double value, char* out) noexcept {
  auto r = std::to_chars(out, out + kMaxNumberText, value,
                         std::chars_format::general, 6);
  return size_t(r.ptr - out);
}

const char kDigitPairs[200] = {
    '0', '0', '0', '1', '0', '2', '0', '3', '0', '4',
    '0', '5', '0', '6', '0', '7', '0', '8', '0', '9',
    '1', '0', '1', '1', '1', '2', '1', '3', '1', '4',
    '1', '5', '1', '6', '1', '7', '1', '8', '1', '9',
    '2', '0', '2', '1', '2', '2', '2', '3', '2', '4',
    '2', '5', '2', '6', '2', '7', '2', '8', '2', '9',
    '3', '0', '3', '1', '3', '2', '3', '3', '3', '4',
    '3', '5', '3', '6', '3', '7', '3', '8', '3', '9',
    '4', '0', '4', '1', '4', '2', '4', '3', '4', '4',
    '4', '5', '4', '6', '4', '7', '4', '8', '4', '9',
    '5', '0', '5', '1', '5', '2', '5', '3', '5', '4',
    '5', '5', '5', '6', '5', '7', '5', '8', '5', '9',
    '6', '0', '6', '1', '6', '2', '6', '3', '6', '4',
    '6', '5', '6', '6', '6', '7', '6', '8', '6', '9',
    '7', '0', '7', '1', '7', '2', '7', '3', '7', '4',
    '7', '5', '7', '6', '7', '7', '7', '8', '7', '9',
    '8', '0', '8', '1', '8', '2', '8', '3', '8', '4',
    '8', '5', '8', '6', '8', '7', '8', '8', '8', '9',
    '9', '0', '9', '1', '9', '2', '9', '3', '9', '4',
    '9', '5', '9', '6', '9', '7', '9', '8', '9', '9',
};

size_t formatInt(int64_t value, char* out) noexcept {
  return size_t(writeInt64(out, value) - out);
}

size_t formatUInt(uint64_t value, char* out) noexcept {
  return size_t(writeUInt64(out, value) - out);
}

}  // namespace textops
