// FennickDLL02's own file services behind its exports: run-length
// compression of files and the name set that hands out unique copy names.
#pragma once

#include <cstddef>
#include <set>
#include <string>

// Names handed out by CheckName since the last ClearNameSet.
extern std::set<std::string> nameSet;

namespace fileservices {

// A required text or memory block is null; nothing was touched.
constexpr float kResultNullArgument = -9.0f;

// ---- run-length compression -------------------------------------------------
//
// Compressed format: (count, value) byte pairs, no header. Each maximal run
// of equal input bytes becomes one pair; a run longer than 255 bytes becomes
// pairs (255, value) ... and one pair for the rest, so no count ever wraps.
// Decoding expands every pair on its own: a count of 0 yields nothing, and
// a trailing odd byte (a count without its value) yields nothing.

// Input cannot be opened (no output is created) or cannot be read.
constexpr float kRunLengthInputFailed = -1.0f;
// Output cannot be opened, or a write fell short (the partial output stays).
constexpr float kRunLengthOutputFailed = -2.0f;
// The output names the input file (also through another spelling or a
// link): nothing is written, the input stays as it is.
constexpr float kRunLengthSameFile = -3.0f;

constexpr size_t kRunLengthReadBlock = size_t(1) << 20;
constexpr size_t kRunLengthWriteBlock = size_t(2) << 20;

// Writes the compressed copy; the result is compressed size / input size
// (NaN for an empty input) or one of the codes above.
float compressFile(const char* input, const char* output,
                   size_t readBlock = kRunLengthReadBlock,
                   size_t writeBlock = kRunLengthWriteBlock) noexcept;

// Restores the bytes of a compressed file: 0, or one of the codes above.
float decompressFile(const char* input, const char* output,
                     size_t readBlock = kRunLengthReadBlock,
                     size_t writeBlock = kRunLengthWriteBlock) noexcept;

// ---- name set ---------------------------------------------------------------

// Answers `name` itself the first time it is seen; later, the name up to and
// including its first "_copy" (or the name followed by "_copy") with the
// smallest counter k >= 1 not handed out yet. The answer joins the set and
// is copied into `block` with its terminating zero. 0, or
// kResultNullArgument for a null name or block (the set is not touched).
float checkName(const char* name, char* block);

// Forgets every name.
void clearNameSet() noexcept;

}  // namespace fileservices
