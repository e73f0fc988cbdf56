// What the operations and both export layers share: the result codes that
// more than one operation answers, the guard every entry point runs under,
// and the one conversion of a double to a 32-bit integer.
#pragma once

#include <cstdint>

namespace fennick {

// A required text or memory block is null; nothing was touched.
constexpr float kResultNullArgument = -9.0f;
// The call could not get the memory it needs (or met another failure of the
// runtime itself); no operation uses it for anything else.
constexpr float kResultNoMemory = -99.0f;

// Runs an operation so that no exception leaves it: std::bad_alloc, or any
// other exception, becomes kResultNoMemory. Every export and every entry
// point that answers a result code for linked callers runs its work once
// through this (or is noexcept throughout).
template <class Operation>
float guarded(Operation&& operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return kResultNoMemory;
  }
}

// Truncation toward zero to a 32-bit signed integer. NaN and values whose
// truncation lies outside the 32-bit range give INT32_MIN (the value an x86
// truncating conversion yields, and what scripts have always seen).
inline int32_t toInt32Truncated(double number) {
  if (!(number > -2147483649.0 && number < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(number);  // in range: truncates toward zero
}

}  // namespace fennick
