#include "TextOps.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <new>

#if defined(_WIN32)
#include <malloc.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textops {

// ---- memory ---------------------------------------------------------------

void AlignedFree::operator()(unsigned char* p) const noexcept {
#if defined(_WIN32)
  _aligned_free(p);
#else
  std::free(p);
#endif
}

AlignedBytes allocateAligned(size_t bytes) noexcept {
  if (bytes > SIZE_MAX - kPageSize) return AlignedBytes();
  size_t rounded = bytes == 0 ? kPageSize : (bytes + kPageSize - 1) / kPageSize * kPageSize;
#if defined(_WIN32)
  void* p = _aligned_malloc(rounded, kPageSize);
#else
  void* p = std::aligned_alloc(kPageSize, rounded);
#endif
  if (p) poisonBytes(static_cast<unsigned char*>(p) + bytes, rounded - bytes);
  return AlignedBytes(static_cast<unsigned char*>(p));
}

// ---- files ----------------------------------------------------------------

#if !defined(_WIN32)
// Opens without waiting for the other end of a pipe (an open of a pipe
// blocks until that end is opened), then reads and writes block as usual.
static std::FILE* openNoWait(const char* path, int flags, const char* mode,
                             bool regularOnly) noexcept {
  int fd = ::open(path, flags | O_NONBLOCK, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  if (regularOnly && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return nullptr;
  }
  int status = fcntl(fd, F_GETFL);
  std::FILE* f = status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1
                     ? nullptr
                     : fdopen(fd, mode);
  if (!f) ::close(fd);
  return f;
}
#endif

FilePtr openRead(const char* path) noexcept {
  if (!path) return FilePtr();
#if defined(_WIN32)
  std::FILE* f = std::fopen(path, "rb");
#else
  // Regular files only: a folder fails its reads, a device may never end,
  // and a pipe would keep the open waiting for a writer.
  std::FILE* f = openNoWait(path, O_RDONLY, "rb", true);
#endif
  if (f) std::setvbuf(f, nullptr, _IONBF, 0);
  return FilePtr(f);
}

FilePtr openWriteRaw(const char* path) noexcept {
  if (!path) return FilePtr();
#if defined(_WIN32)
  std::FILE* f = std::fopen(path, "wb");
#else
  // As fopen(path, "wb"); a pipe nobody reads fails to open instead of
  // waiting for a reader.
  std::FILE* f = openNoWait(path, O_WRONLY | O_CREAT | O_TRUNC, "wb", false);
#endif
  if (f) std::setvbuf(f, nullptr, _IONBF, 0);
  return FilePtr(f);
}

bool seekTo(std::FILE* f, int64_t offset) noexcept {
#if defined(_WIN32)
  return _fseeki64(f, offset, SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

int64_t fileSize(std::FILE* f) noexcept {
#if defined(_WIN32)
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  int64_t size = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  int64_t size = static_cast<int64_t>(ftello(f));
#endif
  if (!seekTo(f, 0)) return -1;
  return size;
}

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
static ReadStatus finishRead(std::FILE* f, FileBytes& out, size_t capacity) noexcept {
  if (!std::ferror(f)) {
    poisonBytes(out.data.get() + out.size, capacity - out.size);
    return ReadStatus::Ok;
  }
  out.data.reset();
  out.size = 0;
  return ReadStatus::OpenFailed;
}

ReadStatus readWholeFile(const char* path, FileBytes& out) noexcept {
  out.data.reset();
  out.size = 0;
  FilePtr f = openRead(path);
  if (!f) return ReadStatus::OpenFailed;
  int64_t size = fileSize(f.get());
  if (size >= 0) {
    if (static_cast<uint64_t>(size) > SIZE_MAX / 2) return ReadStatus::NoMemory;
    out.data = allocateAligned(static_cast<size_t>(size) + 1);
    if (!out.data) return ReadStatus::NoMemory;
    out.size = readFully(f.get(), out.data.get(), static_cast<size_t>(size));
    return finishRead(f.get(), out, static_cast<size_t>(size) + 1);
  }
  // Not seekable: read in blocks, doubling the buffer.
  size_t capacity = kDefaultReadBlock;
  out.data = allocateAligned(capacity);
  if (!out.data) return ReadStatus::NoMemory;
  for (;;) {
    if (out.size == capacity) {
      if (capacity > SIZE_MAX / 4) return ReadStatus::NoMemory;
      AlignedBytes bigger = allocateAligned(capacity * 2);
      if (!bigger) return ReadStatus::NoMemory;
      std::memcpy(bigger.get(), out.data.get(), out.size);
      out.data = std::move(bigger);
      capacity *= 2;
    }
    size_t n = std::fread(out.data.get() + out.size, 1, capacity - out.size, f.get());
    if (n == 0) break;
    out.size += n;
  }
  return finishRead(f.get(), out, capacity);
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
