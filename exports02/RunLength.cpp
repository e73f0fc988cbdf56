// Run-length compression of whole files, block by block: runs carry over
// from one read block to the next, and the pairs are encoded straight into
// the writer's buffer. Eight bytes (or eight pairs) are looked at per step
// where the data allow it.
#include <cstdint>
#include <cstring>

#include "FileOps.h"
#include "FileServices.h"
#include "TextOps.h"

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the word-at-a-time coder assumes a little-endian machine"
#endif

namespace fileservices {

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;
constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
constexpr uint64_t kCountsOfOne = 0x0001000100010001ull;
// Room kept free in the write buffer before each step of a coder.
constexpr size_t kStepRoom = 512;

inline uint64_t load64(const unsigned char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}
inline void store64(unsigned char* p, uint64_t w) { std::memcpy(p, &w, 8); }

// Bit 7 of each byte of the result is set where `w` holds a zero byte; the
// lowest set bit marks the first zero byte exactly.
inline uint64_t zeroBytes(uint64_t w) { return (w - kOnes) & ~w & kHighs; }

// Four bytes v0..v3 become the pairs (1, v0) .. (1, v3).
inline uint64_t singlePairs(uint32_t four) {
  uint64_t x = four;
  x = (x | (x << 16)) & 0x0000FFFF0000FFFFull;
  x = (x | (x << 8)) & kEvenBytes;
  return (x << 8) | kCountsOfOne;
}

// The value bytes of four pairs.
inline uint32_t pairValues(uint64_t pairs) {
  uint64_t x = (pairs >> 8) & kEvenBytes;
  x = (x | (x >> 8)) & 0x0000FFFF0000FFFFull;
  x = (x | (x >> 16)) & 0xFFFFFFFFull;
  return static_cast<uint32_t>(x);
}

// The writer and the bytes it has flushed so far.
struct Sink {
  textops::OutFile out;
  uint64_t flushed = 0;
};

inline void makeRoom(Sink& sink) {
  if (sink.out.capacity - sink.out.length < kStepRoom) {
    sink.flushed += sink.out.length;
    textops::flushOut(sink.out);
  }
}

// Writes one run as pairs of at most 255.
void putRun(Sink& sink, unsigned char value, uint64_t count) {
  textops::OutFile& out = sink.out;
  while (count > 0) {
    makeRoom(sink);
    unsigned char* dst = out.buffer.get() + out.length;
    const size_t room = (out.capacity - out.length) / 2;
    size_t pairs = 0;
    while (pairs < room && count > 0) {
      const unsigned n = count > 255 ? 255u : static_cast<unsigned>(count);
      dst[2 * pairs] = static_cast<unsigned char>(n);
      dst[2 * pairs + 1] = value;
      count -= n;
      ++pairs;
    }
    out.length += 2 * pairs;
  }
}

// The run that reached the end of the previous block.
struct OpenRun {
  bool open = false;
  unsigned char value = 0;
  uint64_t count = 0;
};

// Index of the first byte in [i, n) that differs from `value` (n if none).
inline size_t runEnd(const unsigned char* d, size_t i, size_t n, unsigned char value) {
  const uint64_t pattern = kOnes * value;
  while (i + 8 <= n) {
    const uint64_t diff = load64(d + i) ^ pattern;
    if (diff != 0) return i + static_cast<size_t>(__builtin_ctzll(diff) / 8);
    i += 8;
  }
  while (i < n && d[i] == value) ++i;
  return i;
}

// Encodes one block; the run that touches its end stays open in `run`.
void encodeBlock(const unsigned char* d, size_t n, OpenRun& run, Sink& sink) {
  textops::OutFile& out = sink.out;
  size_t i = 0;
  if (run.open) {
    i = runEnd(d, 0, n, run.value);
    run.count += i;
    if (i == n) return;
    putRun(sink, run.value, run.count);
    run.open = false;
  }
  // Here d[i] always starts a run.
  while (i < n) {
    makeRoom(sink);
    unsigned char* dst = out.buffer.get() + out.length;
    if (i + 9 <= n) {
      const uint64_t a = load64(d + i);
      const uint64_t same = zeroBytes(a ^ load64(d + i + 1));
      // Bytes before the first one equal to its successor are runs of one.
      const size_t singles = same ? static_cast<size_t>(__builtin_ctzll(same) / 8) : 8;
      store64(dst, singlePairs(static_cast<uint32_t>(a)));
      store64(dst + 8, singlePairs(static_cast<uint32_t>(a >> 32)));
      out.length += 2 * singles;
      i += singles;
      if (singles == 8) continue;
      dst += 2 * singles;
    }
    const unsigned char value = d[i];
    const size_t end = runEnd(d, i + 1, n, value);
    if (end == n) {
      run.open = true;
      run.value = value;
      run.count = end - i;
      return;
    }
    const size_t count = end - i;
    if (count <= 255) {
      dst[0] = static_cast<unsigned char>(count);
      dst[1] = value;
      out.length += 2;
    } else {
      putRun(sink, value, count);
    }
    i = end;
  }
}

// Expands whole pairs [d, d + n), n even.
void decodeBlock(const unsigned char* d, size_t n, Sink& sink) {
  textops::OutFile& out = sink.out;
  size_t i = 0;
  while (i < n) {
    makeRoom(sink);
    unsigned char* dst = out.buffer.get() + out.length;
    if (i + 16 <= n) {
      const uint64_t p0 = load64(d + i);
      const uint64_t p1 = load64(d + i + 8);
      if ((p0 & kEvenBytes) == kCountsOfOne && (p1 & kEvenBytes) == kCountsOfOne) {
        const uint64_t values = pairValues(p0) | (uint64_t(pairValues(p1)) << 32);
        store64(dst, values);
        out.length += 8;
        i += 16;
        continue;
      }
    }
    const unsigned count = d[i];
    const unsigned char value = d[i + 1];
    if (count <= 16) {
      const uint64_t pattern = kOnes * value;
      store64(dst, pattern);
      store64(dst + 8, pattern);
    } else {
      std::memset(dst, value, count);
    }
    out.length += count;
    i += 2;
  }
}

struct Files {
  textops::FilePtr in;
  Sink sink;
  textops::AlignedBytes block;
};

// Opens the input, checks that the output is another file, opens the
// output and takes the read block. 0 when all is ready, else a result code.
float openFiles(const char* input, const char* output, size_t readBlock, size_t writeBlock,
                Files& f) {
  if (!input || !output) return kResultNullArgument;
  f.in = textops::openRead(input);
  if (!f.in) return kRunLengthInputFailed;
  const fileops::FileIdentity from = fileops::identityOf(f.in.get());
  if (from.folder) return kRunLengthInputFailed;
  if (fileops::sameFile(from, fileops::identityOf(output))) return kRunLengthSameFile;
  f.block = textops::allocateAligned(readBlock);
  if (!f.block) return fennick::kResultNoMemory;
  textops::OutFile& out = f.sink.out;
  if (!textops::openOut(out, output, writeBlock < kStepRoom ? kStepRoom : writeBlock))
    return out.buffer ? kRunLengthOutputFailed : fennick::kResultNoMemory;
  return 0.0f;
}

}  // namespace

float compressFile(const char* input, const char* output, size_t readBlock,
                   size_t writeBlock) noexcept {
  if (readBlock == 0) readBlock = 1;
  Files f;
  const float status = openFiles(input, output, readBlock, writeBlock, f);
  if (status != 0.0f) return status;
  uint64_t inBytes = 0;
  OpenRun run;
  for (;;) {
    const size_t n = textops::readFully(f.in.get(), f.block.get(), readBlock);
    inBytes += n;
    if (n > 0) encodeBlock(f.block.get(), n, run, f.sink);
    if (n < readBlock) break;
  }
  // The last run is always written: there is no next byte to extend it.
  if (run.open) putRun(f.sink, run.value, run.count);
  const uint64_t outBytes = f.sink.flushed + f.sink.out.length;
  const bool readFailed = std::ferror(f.in.get()) != 0;
  const bool written = textops::closeOut(f.sink.out);
  if (readFailed) return kRunLengthInputFailed;
  if (!written) return kRunLengthOutputFailed;
  // Both sizes become floats before the division (an empty input gives
  // NaN); the stores round on x87 too, where registers hold more precision.
  volatile float outSize = static_cast<float>(outBytes);
  volatile float inSize = static_cast<float>(inBytes);
  volatile float ratio = outSize / inSize;
  return ratio;
}

float decompressFile(const char* input, const char* output, size_t readBlock,
                     size_t writeBlock) noexcept {
  // Whole pairs per read block.
  readBlock = readBlock < 2 ? 2 : readBlock & ~size_t(1);
  Files f;
  const float status = openFiles(input, output, readBlock, writeBlock, f);
  if (status != 0.0f) return status;
  for (;;) {
    const size_t n = textops::readFully(f.in.get(), f.block.get(), readBlock);
    // A trailing odd byte is a count without its value: it yields nothing.
    decodeBlock(f.block.get(), n & ~size_t(1), f.sink);
    if (n < readBlock) break;
  }
  const bool readFailed = std::ferror(f.in.get()) != 0;
  const bool written = textops::closeOut(f.sink.out);
  if (readFailed) return kRunLengthInputFailed;
  if (!written) return kRunLengthOutputFailed;
  return 0.0f;
}

}  // namespace fileservices
