// What the operations and both export layers share: the one vocabulary of
// outcomes, the guard every entry point runs under, and the one conversion
// of a double to a 32-bit integer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fennick {

// What an operation says happened. Operations of every module answer in
// these words; only an export turns them into the number its table fixes
// (resultOf with the export's own table), so the legacy numbers appear
// nowhere but at the export boundary.
enum class Status : uint8_t {
  Ok,
  NullArgument,       // a required text or memory block is null
  NoMemory,           // memory, or another resource of the runtime, ran out
  OpenFailed,         // an input cannot be opened or read
  OutputIsInput,      // the output names an input (any spelling, any link)
  CreateFailed,       // an output cannot be opened or created
  WriteFailed,        // an output cannot be written, flushed or closed
  OutOfRange,         // a number argument outside what the operation takes
  // Mesh readers.
  NoBlock,            // VyX: no block of the tag asked for
  NoFaceIDs,          // VyX: the face ID list is empty
  PastEnd,            // a count, size or index points past the data
  ZeroTag,            // VyX: a block tag of 0 where a block was expected
  TooLarge,           // the output would be larger than the operation allows
  TargetReadFailed,   // merge: the target cannot be read
  TargetWriteFailed,  // merge: the target cannot be written
  TooManyGroups,      // COLLADA: more groups than the writer takes
  BadFace,            // a face with an index outside the model
  FaceCount,          // sculpt map: the face count is no sculpt grid
  NotQuad,            // sculpt map: a face that is not a quad
  BadIndex,           // sculpt map: a vertex index outside the model
  OffCell,            // sculpt map: a face off its grid cell
  WrongTag,           // VyX: a block of another tag where a block was expected
};

// One row of an export's table: the number the export answers for a status.
struct ResultCode {
  Status status;
  float result;
};

// The number an export answers for `status` under its table. Ok is 0 unless
// the table says otherwise. A status the table does not list is a fault of
// the table; it is answered as -99, never as success.
template <size_t N>
constexpr float resultOf(Status status, const ResultCode (&table)[N]) {
  for (const ResultCode& row : table) {
    if (row.status == status) return row.result;
  }
  return status == Status::Ok ? 0.0f : -99.0f;
}

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

// The same guard for an operation that answers a Status.
template <class Operation>
Status guardedStatus(Operation&& operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return Status::NoMemory;
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
