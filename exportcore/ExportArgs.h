// Conversions of the call frame's number argument, shared by both export
// layers. Every conversion is defined for NaN, infinities and values beyond
// the 32-bit range, so no export reaches an undefined floating-point cast.
// (The plain truncation, fennick::toInt32Truncated, is in Common.h: the
// operations use it too.)
#pragma once

#include <cstdint>

#include "Common.h"

namespace fennick {

// Byte count of the VyX vertex count: the truncated number when it is
// strictly greater than 150, else 150 (NaN included). Numbers beyond the
// 32-bit range saturate at INT32_MAX.
inline int32_t byteCountArg(double number) {
  if (!(number > 150.0)) return 150;
  if (number >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(number);
}

// Flag argument: set for every number other than plus or minus zero (a NaN
// counts as set).
inline bool flagArg(double number) { return number != 0.0; }

}  // namespace fennick
