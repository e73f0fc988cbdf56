// What every reader and writer shares: file handles, whole-file and block
// reads into page-aligned buffers, line blocks, number parsing with the
// stream extraction rules, %g formatting, and one buffered writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Common.h"

#if defined(__SANITIZE_ADDRESS__)
#define TEXTOPS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TEXTOPS_ASAN 1
#endif
#endif
#if defined(TEXTOPS_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace textops {

// ---- sanitizer builds -----------------------------------------------------

// Buffers are larger than the data they hold (whole pages, the unused rest
// of a block). Under AddressSanitizer those bytes are poisoned, so that a
// read one byte past a file's data fails as it would past an exact
// allocation. In other builds these do nothing.
inline void poisonBytes(const void* at, size_t bytes) noexcept {
#if defined(TEXTOPS_ASAN)
  ASAN_POISON_MEMORY_REGION(at, bytes);
#else
  (void)at;
  (void)bytes;
#endif
}

inline void unpoisonBytes(const void* at, size_t bytes) noexcept {
#if defined(TEXTOPS_ASAN)
  ASAN_UNPOISON_MEMORY_REGION(at, bytes);
#else
  (void)at;
  (void)bytes;
#endif
}

// Poisons bytes [used, capacity) of a local buffer for as long as it lives;
// they are usable again afterwards (the stack frame is reused).
struct PoisonedRest {
  const unsigned char* rest;
  size_t bytes;
  PoisonedRest(const unsigned char* buffer, size_t used, size_t capacity) noexcept
      : rest(buffer + used), bytes(capacity - used) {
    poisonBytes(rest, bytes);
  }
  ~PoisonedRest() { unpoisonBytes(rest, bytes); }
  PoisonedRest(const PoisonedRest&) = delete;
  PoisonedRest& operator=(const PoisonedRest&) = delete;
};

// ---- memory ---------------------------------------------------------------

constexpr size_t kPageSize = 4096;

struct AlignedFree {
  void operator()(unsigned char* p) const noexcept;
};
using AlignedBytes = std::unique_ptr<unsigned char[], AlignedFree>;

// A page-aligned block for `bytes` bytes, or null when the memory cannot be
// had. Never throws. The block is rounded up to whole pages; only the first
// `bytes` may be used (sanitizer builds poison the rest of the last page).
AlignedBytes allocateAligned(size_t bytes) noexcept;

// ---- files ----------------------------------------------------------------

struct FileClose {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileClose>;

// Opens for binary reading without stdio buffering (reads go straight into
// the caller's buffer). Null path or failure: null. On POSIX systems only a
// regular file opens (not a folder, device or pipe).
FilePtr openRead(const char* path) noexcept;
// Size of an open file in bytes, or -1 when it cannot be told (not seekable).
// Leaves the position at the start.
int64_t fileSize(std::FILE* f) noexcept;
bool seekTo(std::FILE* f, int64_t offset) noexcept;
// Reads until `bytes` arrived or the file ends or fails; returns the count
// (std::ferror tells a failure from the end).
size_t readFully(std::FILE* f, void* dst, size_t bytes) noexcept;
// readFully into a buffer of `capacity` bytes (from allocateAligned) that
// holds nothing but this read: sanitizer builds poison the bytes past the
// count until the next readBlock into it.
size_t readBlock(std::FILE* f, unsigned char* buffer, size_t capacity) noexcept;

// ---- whole-file reads -----------------------------------------------------

struct FileBytes {
  AlignedBytes data;
  size_t size = 0;
};


// Reads a whole file. A read error gives OpenFailed and no data: the file
// cannot be read. The buffer may go on past `size`; sanitizer builds poison
// every byte after the data.
fennick::Status readWholeFile(const char* path, FileBytes& out) noexcept;
// The same for a file opened with openRead (null: OpenFailed).
fennick::Status readWholeFile(std::FILE* file, FileBytes& out) noexcept;

// ---- line blocks ----------------------------------------------------------

// Hands out a file's text as runs of whole lines, read in large aligned
// blocks; a line cut by a block boundary is carried over to the next run.
// Memory: the read block plus the longest line. A read error ends the runs
// like the end of the file: callers ask std::ferror. Only the run handed out
// may be read; sanitizer builds poison the rest of the buffer (the carry
// area before the run, the next run's start and the unused bytes after it).
struct LineBlockReader {
  std::FILE* file = nullptr;
  AlignedBytes buffer;
  size_t carryCapacity = 0;  // room before the read area for a carried line
  size_t readCapacity = 0;   // size of the read area
  size_t carryLength = 0;    // bytes of the carried partial line
  size_t tailOffset = 0;     // unfinished line left in the read area
  size_t tailLength = 0;
  bool atEnd = false;
  bool failed = false;       // memory could not be had
};

constexpr size_t kDefaultReadBlock = size_t(1) << 20;

bool initLineReader(LineBlockReader& reader, std::FILE* file,
                    size_t readBlock = kDefaultReadBlock) noexcept;

// Next run of whole lines [begin, end): every line in it ends with '\n'
// except the last line of the file when the file does not end in one.
// False at the end of the file (or when `reader.failed` is set).
bool nextLineBlock(LineBlockReader& reader, const char*& begin,
                   const char*& end) noexcept;

// The line loop of the text readers: every run of whole lines of an open
// file through onRun(begin, end), which answers false to stop reading.
// Ok when the file was read to its end or onRun stopped; NoMemory when the
// buffer could not be had; OpenFailed when a read failed before the end.
template <class OnRun>
fennick::Status forEachLineRun(std::FILE* file, OnRun&& onRun) {
  LineBlockReader reader;
  if (!initLineReader(reader, file)) return fennick::Status::NoMemory;
  const char* begin;
  const char* end;
  while (nextLineBlock(reader, begin, end)) {
    if (!onRun(begin, end)) return fennick::Status::Ok;
  }
  if (reader.failed) return fennick::Status::NoMemory;
  return std::ferror(file) ? fennick::Status::OpenFailed : fennick::Status::Ok;
}

// ---- number parsing with the stream extraction rules ------------------------

// White space as the classic locale's isspace sees it.
inline bool isStreamSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

struct ParseResult {
  const char* next;  // where the extraction stopped
  bool ok;           // false: the stream would have set failbit
};

// `stream >> float` with the classic locale: white space skipped, then the
// longest prefix matching [sign] digits [. digits] [e [sign] digits] is taken;
// a text that is not a whole number gives 0 and failure; a value beyond the
// float range gives +-FLT_MAX and failure; underflow gives the rounded value
// (0 or a subnormal) and success. With only white space left, `value` is
// left untouched and the result is a failure.
ParseResult parseStreamFloat(const char* p, const char* end, float& value) noexcept;

// `stream >> int` with the classic locale: white space skipped, optional
// sign, decimal digits. No digit: 0 and failure. Out of the 32-bit range:
// INT32_MAX or INT32_MIN and failure. Only white space left: untouched.
ParseResult parseStreamInt(const char* p, const char* end, int32_t& value) noexcept;

// ---- formatting -----------------------------------------------------------

constexpr size_t kMaxNumberText = 32;

// printf("%g", double(value)) in the C locale: six significant digits,
// exponent notation when the decimal exponent is below -4 or at least 6,
// no trailing zeros; "inf", "nan" and "-" before either when the sign bit is
// set. Exact for every float. Returns the length (at most 12).
size_t formatFloatG6(float value, char* out) noexcept;
size_t formatInt(int64_t value, char* out) noexcept;
size_t formatUInt(uint64_t value, char* out) noexcept;

// ---- buffered writer ------------------------------------------------------
//
// Every output file is written through an OutFile and the functions below,
// the only ones that touch its fields: put* copy pieces in; room, roomLeft
// and advance let writers that emit millions of small pieces write straight
// into the buffer with fixed-size stores (see DirectText.h). An OutFile
// opened with openOutMemory appends to a byte vector instead of a file, so
// that a writer can be run and checked without touching the disk.


class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

 private:
  FilePtr file;
  AlignedBytes buffer;
  size_t length = 0;     // bytes in the buffer
  size_t capacity = 0;
  uint64_t flushed = 0;  // bytes handed to the file before them
  bool failed = false;   // a write fell short
  // A memory target instead of `file`: append(memory, bytes, size) adds the
  // bytes, false when the target cannot grow.
  void* memory = nullptr;
  bool (*append)(void* memory, const unsigned char* bytes, size_t size) noexcept = nullptr;

  template <class Open>
  friend fennick::Status openOutWith(OutFile& out, size_t writeBlock, Open&& open);
  friend bool closeOut(OutFile& out) noexcept;
  friend fennick::Status openOutMemory(OutFile& out, std::vector<unsigned char>& into,
                                       size_t writeBlock) noexcept;
  friend fennick::Status openOutMemory(OutFile& out, std::string& into,
                                       size_t writeBlock) noexcept;
  friend char* room(OutFile& out, size_t bytes) noexcept;
  friend size_t roomLeft(const OutFile& out) noexcept;
  friend void advance(OutFile& out, char* to) noexcept;
  friend void put(OutFile& out, const void* data, size_t size) noexcept;
  friend void putChar(OutFile& out, char c) noexcept;
  friend uint64_t bytesPut(const OutFile& out) noexcept;
  friend bool outFailed(const OutFile& out) noexcept;
  // Used by the functions above only.
  friend void flushOut(OutFile& out) noexcept;
  friend void putSlow(OutFile& out, const void* data, size_t size) noexcept;
};

constexpr size_t kDefaultWriteBlock = size_t(1) << 20;

// Takes a buffer of `writeBlock` bytes (whole pages), then the file open()
// returns (a FilePtr, opened for unbuffered binary writing): no file is
// touched when the memory cannot be had.
template <class Open>
fennick::Status openOutWith(OutFile& out, size_t writeBlock, Open&& open) {
  out.file.reset();
  out.memory = nullptr;
  out.length = 0;
  out.flushed = 0;
  out.failed = false;
  // Whole pages (too large a block fails to allocate as it stands).
  const size_t capacity = writeBlock > SIZE_MAX - kPageSize
                              ? writeBlock
                              : (writeBlock + kPageSize - 1) / kPageSize * kPageSize;
  out.buffer = allocateAligned(capacity);
  out.capacity = out.buffer ? capacity : 0;
  if (!out.buffer) return fennick::Status::NoMemory;
  out.file = open();
  return out.file ? fennick::Status::Ok : fennick::Status::CreateFailed;
}


// The same writer appending to `into` instead of a file (emptied first), for
// writers run in memory (tests, fuzz targets); a target that cannot grow
// fails the writer as a full disk would. NoMemory when the buffer cannot be
// had. The byte-vector form takes a one-page buffer by default, so that small
// outputs cost little and long ones pass through flushes.
fennick::Status openOutMemory(OutFile& out, std::vector<unsigned char>& into,
                              size_t writeBlock = kPageSize) noexcept;
fennick::Status openOutMemory(OutFile& out, std::string& into,
                              size_t writeBlock = kDefaultWriteBlock) noexcept;

// Flushes and closes; false when any write fell short, the close failed or
// nothing was open.
bool closeOut(OutFile& out) noexcept;

// Room for `bytes` more bytes at the write position, which it returns; the
// buffer is flushed first when fewer are free. Afterwards roomLeft gives at
// least `bytes`, or the whole buffer when `bytes` exceeds it.
inline char* room(OutFile& out, size_t bytes) noexcept {
  if (out.capacity - out.length < bytes) flushOut(out);
  return reinterpret_cast<char*>(out.buffer.get()) + out.length;
}

// Free bytes at the write position.
inline size_t roomLeft(const OutFile& out) noexcept { return out.capacity - out.length; }

// Marks everything up to `to` (inside the room asked for) as written.
inline void advance(OutFile& out, char* to) noexcept {
  out.length = size_t(to - reinterpret_cast<char*>(out.buffer.get()));
}

// Every byte put so far, flushed or not: the size of the file once closed.
inline uint64_t bytesPut(const OutFile& out) noexcept { return out.flushed + out.length; }

// True once a write fell short (a full disk): the rest need not be made.
inline bool outFailed(const OutFile& out) noexcept { return out.failed; }

inline void put(OutFile& out, const void* data, size_t size) noexcept {
  if (size <= out.capacity - out.length) {
    std::memcpy(out.buffer.get() + out.length, data, size);
    out.length += size;
  } else {
    putSlow(out, data, size);
  }
}
inline void put(OutFile& out, std::string_view text) noexcept {
  put(out, text.data(), text.size());
}
inline void putChar(OutFile& out, char c) noexcept {
  if (out.length == out.capacity) flushOut(out);
  out.buffer[out.length++] = static_cast<unsigned char>(c);
}
inline void putG6(OutFile& out, float value) noexcept {
  char text[kMaxNumberText];
  put(out, text, formatFloatG6(value, text));
}
// Every number the library writes with %g is a float: a double would be
// narrowed here without notice.
void putG6(OutFile& out, double value) = delete;
inline void putInt(OutFile& out, int64_t value) noexcept {
  char text[kMaxNumberText];
  put(out, text, formatInt(value, text));
}
inline void putUInt(OutFile& out, uint64_t value) noexcept {
  char text[kMaxNumberText];
  put(out, text, formatUInt(value, text));
}

}  // namespace textops
