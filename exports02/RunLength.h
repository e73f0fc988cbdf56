// Run-length compression behind CompressFile and DecompressFile: a codec
// over byte buffers, and the path-taking operations that stream a file
// through it block by block.
//
// Compressed format: (count, value) byte pairs, no header. Each maximal run
// of equal input bytes becomes one pair; a run longer than 255 bytes becomes
// pairs (255, value) ... and one pair for the rest, so no count ever wraps.
// Decoding expands every pair on its own: a count of 0 yields nothing, and
// a trailing odd byte (a count without its value) yields nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Common.h"

namespace runlength {

// ---- the codec -----------------------------------------------------------------

// The run that reached the end of the bytes encoded so far (count 1 to
// 255): it carries over to the next piece.
struct Encoder {
  bool open = false;
  unsigned value = 0;
  unsigned count = 0;
};

// Output room encode needs for `size` input bytes.
constexpr size_t encodeRoom(size_t size) { return 2 * size + 2; }

// Encodes the next piece of the input into `out` (encodeRoom(size) bytes of
// room) and answers the end of what it wrote: the pairs of the runs that
// ended in the piece; the run touching its end stays open in `e`.
unsigned char* encode(Encoder& e, const unsigned char* data, size_t size,
                      unsigned char* out) noexcept;

// Writes the open run's pair, if any (2 bytes of room), and answers the end.
unsigned char* finish(Encoder& e, unsigned char* out) noexcept;

// Room decode needs beyond the decoded bytes: it stores 8 bytes at a time.
constexpr size_t kDecodeSlack = 16;
// The longest expansion of one pair.
constexpr size_t kMaxRun = 255;

// Bytes the whole pairs of [data, data + size) decode to.
uint64_t decodedSize(const unsigned char* data, size_t size) noexcept;

// Expands the pairs of [data, data + pairs * 2) into `out`, which has room
// for what they decode to plus kDecodeSlack; answers the end of the bytes.
unsigned char* decode(const unsigned char* data, size_t pairs, unsigned char* out) noexcept;

// Whole buffers: `out` receives the compressed (or restored) bytes. Ok, or
// NoMemory (out then empty).
fennick::Status compressBuffer(const unsigned char* data, size_t size,
                               std::vector<unsigned char>& out) noexcept;
fennick::Status decompressBuffer(const unsigned char* data, size_t size,
                                 std::vector<unsigned char>& out) noexcept;

// ---- files -------------------------------------------------------------------------
//
// Outcomes: NullArgument (a null path); OpenFailed (the input cannot be
// opened, is a folder or cannot be read: no output is created or changed);
// OutputIsInput (the output names the input, also through another spelling
// or a link: nothing is written); CreateFailed (the output cannot be
// opened); WriteFailed (a write fell short); NoMemory. Outputs are written
// through the file replacement (fileops::openOutput): only Ok changes the
// output.

constexpr size_t kReadBlock = size_t(1) << 20;
constexpr size_t kWriteBlock = size_t(2) << 20;

struct Sizes {
  uint64_t in = 0;
  uint64_t out = 0;
};

// Writes the compressed copy of `input` to `output`; `sizes` receives the
// bytes read and written.
fennick::Status compressFile(const char* input, const char* output, Sizes& sizes,
                             size_t readBlock = kReadBlock,
                             size_t writeBlock = kWriteBlock) noexcept;

// Restores the bytes of a compressed file.
fennick::Status decompressFile(const char* input, const char* output,
                               size_t readBlock = kReadBlock,
                               size_t writeBlock = kWriteBlock) noexcept;

// CompressFile's answer for a compression that succeeded: compressed size /
// input size, both first made floats (an empty input gives NaN).
float compressionRatio(const Sizes& sizes) noexcept;

}  // namespace runlength
