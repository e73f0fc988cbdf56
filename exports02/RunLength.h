// Run-length compression of whole files, behind CompressFile and
// DecompressFile.
//
// Compressed format: (count, value) byte pairs, no header. Each maximal run
// of equal input bytes becomes one pair; a run longer than 255 bytes becomes
// pairs (255, value) ... and one pair for the rest, so no count ever wraps.
// Decoding expands every pair on its own: a count of 0 yields nothing, and
// a trailing odd byte (a count without its value) yields nothing.
#pragma once

#include <cstddef>

namespace runlength {

// Results, with fennick::kResultNullArgument (-9) for a null path and
// fennick::kResultNoMemory (-99).
// The input cannot be opened (no output is created) or cannot be read.
constexpr float kResultInputFailed = -1.0f;
// The output cannot be opened, or a write fell short (the partial output
// stays).
constexpr float kResultOutputFailed = -2.0f;
// The output names the input file (also through another spelling or a
// link): nothing is written, the input stays as it is.
constexpr float kResultSameFile = -3.0f;

constexpr size_t kReadBlock = size_t(1) << 20;
constexpr size_t kWriteBlock = size_t(2) << 20;

// Writes the compressed copy; the result is compressed size / input size
// (NaN for an empty input) or one of the codes above.
float compressFile(const char* input, const char* output, size_t readBlock = kReadBlock,
                   size_t writeBlock = kWriteBlock) noexcept;

// Restores the bytes of a compressed file: 0, or one of the codes above.
float decompressFile(const char* input, const char* output, size_t readBlock = kReadBlock,
                     size_t writeBlock = kWriteBlock) noexcept;

}  // namespace runlength
