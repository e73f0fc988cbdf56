#include "TextOps.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <new>

#include "Platform.h"

namespace textops {

// ---- memory ---------------------------------------------------------------

void AlignedFree::operator()(unsigned char* p) const noexcept { freePages(p); }

AlignedBytes allocateAligned(size_t bytes) noexcept {
  if (bytes > SIZE_MAX - kPageSize) return AlignedBytes();
  size_t rounded = bytes == 0 ? kPageSize : (bytes + kPageSize - 1) / kPageSize * kPageSize;
  void* p = allocatePages(rounded);
  if (p) poisonBytes(static_cast<unsigned char*>(p) + bytes, rounded - bytes);
  return AlignedBytes(static_cast<unsigned char*>(p));
}

// ---- files ----------------------------------------------------------------
// (opening, sizes and seeks: Platform_posix.cpp, Platform_win.cpp)

size_t readFully(std::FILE* f, void* dst, size_t bytes) noexcept {
  size_t got = 0;
  auto* out = static_cast<unsigned char*>(dst);
  while (got < bytes) {
    size_t n = std::fread(out + got, 1, bytes - got, f);
    if (n == 0) break;
    got += n;
  }
  return got;
}

size_t readBlock(std::FILE* f, unsigned char* buffer, size_t capacity) noexcept {
  unpoisonBytes(buffer, capacity);
  const size_t got = readFully(f, buffer, capacity);
  poisonBytes(buffer + got, capacity - got);
  return got;
}

// ---- whole-file reads -----------------------------------------------------

// A read that failed part way leaves no data: the bytes before the failure
// are not the file.
static fennick::Status finishRead(std::FILE* f, FileBytes& out, size_t capacity) noexcept {
  if (!std::ferror(f)) {
    poisonBytes(out.data.get() + out.size, capacity - out.size);
    return fennick::Status::Ok;
  }
  out.data.reset();
  out.size = 0;
  return fennick::Status::OpenFailed;
}

fennick::Status readWholeFile(const char* path, FileBytes& out) noexcept {
  FilePtr f = openRead(path);
  return readWholeFile(f.get(), out);
}

fennick::Status readWholeFile(std::FILE* f, FileBytes& out) noexcept {
  out.data.reset();
  out.size = 0;
  if (!f) return fennick::Status::OpenFailed;
  int64_t size = fileSize(f);
  if (size >= 0) {
    if (static_cast<uint64_t>(size) > SIZE_MAX / 2) return fennick::Status::NoMemory;
    out.data = allocateAligned(static_cast<size_t>(size) + 1);
    if (!out.data) return fennick::Status::NoMemory;
    out.size = readFully(f, out.data.get(), static_cast<size_t>(size));
    return finishRead(f, out, static_cast<size_t>(size) + 1);
  }
  // Not seekable: read in blocks, doubling the buffer.
  size_t capacity = kDefaultReadBlock;
  out.data = allocateAligned(capacity);
  if (!out.data) return fennick::Status::NoMemory;
  for (;;) {
    if (out.size == capacity) {
      if (capacity > SIZE_MAX / 4) return fennick::Status::NoMemory;
      AlignedBytes bigger = allocateAligned(capacity * 2);
      if (!bigger) return fennick::Status::NoMemory;
      std::memcpy(bigger.get(), out.data.get(), out.size);
      out.data = std::move(bigger);
      capacity *= 2;
    }
    size_t n = std::fread(out.data.get() + out.size, 1, capacity - out.size, f);
    if (n == 0) break;
    out.size += n;
  }
  return finishRead(f, out, capacity);
}

// ---- line blocks ----------------------------------------------------------

constexpr size_t kInitialCarry = 64 * 1024;

bool initLineReader(LineBlockReader& reader, std::FILE* file,
                    size_t readBlock) noexcept {
  reader.file = file;
  reader.readCapacity = (readBlock + kPageSize - 1) / kPageSize * kPageSize;
  reader.carryCapacity = kInitialCarry;
  reader.carryLength = 0;
  reader.tailOffset = 0;
  reader.tailLength = 0;
  reader.atEnd = false;
  reader.failed = false;
  reader.buffer = allocateAligned(reader.carryCapacity + reader.readCapacity);
  if (!reader.buffer) reader.failed = true;
  else poisonBytes(reader.buffer.get(), reader.carryCapacity + reader.readCapacity);
  return !reader.failed;
}

// Moves the tail left behind by the previous block (a line without its line
// feed yet) to the end of the carry area, now that the block is done with.
static bool settleTail(LineBlockReader& r) noexcept {
  if (r.tailLength == 0) return true;
  size_t rest = r.tailLength;
  size_t offset = r.tailOffset;
  r.tailLength = 0;
  if (rest > r.carryCapacity) {
    size_t capacity = r.carryCapacity;
    while (capacity < rest) {
      if (capacity > SIZE_MAX / 4) return false;
      capacity *= 2;
    }
    if (capacity > SIZE_MAX - r.readCapacity) return false;
    AlignedBytes bigger = allocateAligned(capacity + r.readCapacity);
    if (!bigger) return false;
    std::memcpy(bigger.get() + capacity - rest,
                r.buffer.get() + r.carryCapacity + offset, rest);
    r.buffer = std::move(bigger);
    r.carryCapacity = capacity;
  } else {
    unsigned char* readArea = r.buffer.get() + r.carryCapacity;
    std::memmove(readArea - rest, readArea + offset, rest);
  }
  r.carryLength = rest;
  return true;
}

static bool nextRun(LineBlockReader& r, const char*& begin, const char*& end) noexcept {
  if (r.failed) return false;
  if (!settleTail(r)) {
    r.failed = true;
    return false;
  }
  for (;;) {
    if (r.atEnd) {
      if (r.carryLength == 0) return false;
      begin = reinterpret_cast<const char*>(r.buffer.get() + r.carryCapacity -
                                            r.carryLength);
      end = begin + r.carryLength;
      r.carryLength = 0;
      return true;
    }
    unsigned char* readArea = r.buffer.get() + r.carryCapacity;
    size_t got = std::fread(readArea, 1, r.readCapacity, r.file);
    if (got == 0) {
      r.atEnd = true;
      continue;
    }
    size_t last = got;  // one past the last line feed of the fresh bytes
    while (last > 0 && readArea[last - 1] != '\n') --last;
    if (last == 0) {
      // No line ends here: the whole read joins the carried line.
      if (got > SIZE_MAX - r.carryLength) {
        r.failed = true;
        return false;
      }
      size_t joined = r.carryLength + got;
      if (joined > r.carryCapacity) {
        size_t capacity = r.carryCapacity;
        while (capacity < joined) {
          if (capacity > SIZE_MAX / 4) {
            r.failed = true;
            return false;
          }
          capacity *= 2;
        }
        AlignedBytes bigger = capacity > SIZE_MAX - r.readCapacity
                                  ? AlignedBytes()
                                  : allocateAligned(capacity + r.readCapacity);
        if (!bigger) {
          r.failed = true;
          return false;
        }
        std::memcpy(bigger.get() + capacity - joined, readArea - r.carryLength, r.carryLength);
        std::memcpy(bigger.get() + capacity - got, readArea, got);
        r.buffer = std::move(bigger);
        r.carryCapacity = capacity;
      } else {
        std::memmove(readArea - joined, readArea - r.carryLength, r.carryLength);
        std::memcpy(readArea - got, readArea, got);
      }
      r.carryLength = joined;
      continue;
    }
    begin = reinterpret_cast<const char*>(readArea - r.carryLength);
    end = reinterpret_cast<const char*>(readArea + last);
    r.carryLength = 0;
    r.tailOffset = last;
    r.tailLength = got - last;
    return true;
  }
}

// Sanitizer builds: the whole buffer is usable while the next run is made,
// and only the run handed out stays readable afterwards.
bool nextLineBlock(LineBlockReader& r, const char*& begin,
                   const char*& end) noexcept {
  if (r.buffer) unpoisonBytes(r.buffer.get(), r.carryCapacity + r.readCapacity);
  const bool more = nextRun(r, begin, end);
  if (r.buffer) {
    const unsigned char* first = r.buffer.get();
    const unsigned char* last = first + r.carryCapacity + r.readCapacity;
    if (more) {
      const auto* b = reinterpret_cast<const unsigned char*>(begin);
      const auto* e = reinterpret_cast<const unsigned char*>(end);
      poisonBytes(first, size_t(b - first));
      poisonBytes(e, size_t(last - e));
    } else {
      poisonBytes(first, size_t(last - first));
    }
  }
  return more;
}

}  // namespace textops
