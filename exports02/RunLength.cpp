// Run-length compression: the codec over buffers, and the files streamed
// through it block by block (runs carry over from one read block to the
// next). Pairs are encoded straight into the writer's buffer without
// data-dependent branches.
#include "RunLength.h"

#include <cstring>
#include <new>

#include "FileOps.h"
#include "TextOps.h"

namespace runlength {

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
// Room kept free in the write buffer before each step of a coder.
constexpr size_t kStepRoom = 512;
// Input bytes encoded per step into the write buffer.
constexpr size_t kEncodeStep = 32768;

inline void store64(unsigned char* p, uint64_t w) { std::memcpy(p, &w, 8); }

}  // namespace

// Every byte is compared with its predecessor and the pair of the current
// run is written each time, but the output only advances where a run ends
// (or reaches 255): no branch depends on the data.
unsigned char* encode(Encoder& e, const unsigned char* d, size_t n, unsigned char* dst) noexcept {
  if (n == 0) return dst;
  size_t i = 0;
  if (!e.open) {
    e.open = true;
    e.value = d[0];
    e.count = 1;
    i = 1;
  }
  unsigned value = e.value;
  unsigned count = e.count;
  for (; i < n; ++i) {
    const unsigned next = d[i];
    const bool ends = (next != value) | (count == 255);
    dst[0] = static_cast<unsigned char>(count);
    dst[1] = static_cast<unsigned char>(value);
    dst += ends ? 2 : 0;
    count = ends ? 1 : count + 1;
    value = next;
  }
  e.value = value;
  e.count = count;
  return dst;
}

unsigned char* finish(Encoder& e, unsigned char* dst) noexcept {
  if (!e.open) return dst;
  dst[0] = static_cast<unsigned char>(e.count);
  dst[1] = static_cast<unsigned char>(e.value);
  e.open = false;
  return dst + 2;
}

uint64_t decodedSize(const unsigned char* d, size_t n) noexcept {
  uint64_t total = 0;
  for (size_t i = 0; i + 1 < n; i += 2) total += d[i];
  return total;
}

// Short runs are written as one or two 8-byte stores of the value and the
// output advances by the count.
unsigned char* decode(const unsigned char* d, size_t pairs, unsigned char* dst) noexcept {
  for (const unsigned char* end = d + 2 * pairs; d < end; d += 2) {
    const unsigned count = d[0];
    const uint64_t pattern = kOnes * d[1];
    if (count <= 8) {
      store64(dst, pattern);
    } else if (count <= 16) {
      store64(dst, pattern);
      store64(dst + 8, pattern);
    } else {
      std::memset(dst, static_cast<int>(pattern & 0xFF), count);
    }
    dst += count;
  }
  return dst;
}

fennick::Status compressBuffer(const unsigned char* data, size_t size,
                               std::vector<unsigned char>& out) noexcept {
  out.clear();
  if (size == 0) return fennick::Status::Ok;
  try {
    out.resize(encodeRoom(size));
  } catch (...) {
    return fennick::Status::NoMemory;
  }
  Encoder e;
  unsigned char* end = finish(e, encode(e, data, size, out.data()));
  out.resize(size_t(end - out.data()));
  return fennick::Status::Ok;
}

fennick::Status decompressBuffer(const unsigned char* data, size_t size,
                                 std::vector<unsigned char>& out) noexcept {
  out.clear();
  const uint64_t total = decodedSize(data, size);
  if (total > SIZE_MAX - kDecodeSlack) return fennick::Status::NoMemory;
  try {
    out.resize(size_t(total) + kDecodeSlack);
  } catch (...) {
    return fennick::Status::NoMemory;
  }
  decode(data, size / 2, out.data());
  out.resize(size_t(total));
  return fennick::Status::Ok;
}

namespace {

// ---- files: the codec between the block reader and the writer's buffer ----

// Encodes one read block straight into the write buffer.
void encodeInto(Encoder& e, const unsigned char* d, size_t n, textops::OutFile& out) {
  size_t i = 0;
  while (i < n) {
    size_t chunk = n - i < kEncodeStep ? n - i : kEncodeStep;
    auto* dst = reinterpret_cast<unsigned char*>(textops::room(out, encodeRoom(chunk)));
    const size_t most = (textops::roomLeft(out) - 2) / 2;
    if (chunk > most) chunk = most;
    textops::advance(out, reinterpret_cast<char*>(encode(e, d + i, chunk, dst)));
    i += chunk;
  }
}

// Decodes whole pairs [d, d + n), n even, into the write buffer: as many
// pairs per step as surely fit (255 bytes each, plus the stores' overhang).
void decodeInto(const unsigned char* d, size_t n, textops::OutFile& out) {
  size_t i = 0;
  while (i < n) {
    auto* dst = reinterpret_cast<unsigned char*>(textops::room(out, kStepRoom));
    size_t pairs = (textops::roomLeft(out) - kDecodeSlack) / kMaxRun;
    if (pairs > (n - i) / 2) pairs = (n - i) / 2;
    textops::advance(out, reinterpret_cast<char*>(decode(d + i, pairs, dst)));
    i += 2 * pairs;
  }
}

struct Files {
  textops::FilePtr in;
  fileops::FileIdentity from;
  fileops::Output output;
  textops::AlignedBytes block;
};

// Opens the input, checks that the output is another file, opens the
// output and takes the read block.
fennick::Status openFiles(const char* input, const char* output, size_t readBlock,
                          size_t writeBlock, Files& f) {
  if (!input || !output) return fennick::Status::NullArgument;
  f.in = textops::openRead(input);
  if (!f.in) return fennick::Status::OpenFailed;
  f.from = fileops::identityOf(f.in.get());
  if (f.from.folder) return fennick::Status::OpenFailed;
  if (fileops::namesInput(output, f.from)) return fennick::Status::OutputIsInput;
  f.block = textops::allocateAligned(readBlock);
  if (!f.block) return fennick::Status::NoMemory;
  fileops::OutputRules rules;
  rules.inputs = &f.from;
  rules.inputCount = 1;
  return fileops::openOutput(f.output, output, rules,
                             writeBlock < kStepRoom ? kStepRoom : writeBlock);
}

}  // namespace

fennick::Status compressFile(const char* input, const char* output, Sizes& sizes,
                             size_t readBlock, size_t writeBlock) noexcept {
  sizes = Sizes();
  if (readBlock == 0) readBlock = 1;
  Files f;
  if (fennick::Status status = openFiles(input, output, readBlock, writeBlock, f);
      status != fennick::Status::Ok)
    return status;
  uint64_t inBytes = 0;
  Encoder e;
  for (;;) {
    const size_t n = textops::readBlock(f.in.get(), f.block.get(), readBlock);
    inBytes += n;
    if (n > 0) encodeInto(e, f.block.get(), n, f.output.out);
    if (n < readBlock) break;
  }
  // A read that failed leaves the output as it was.
  if (std::ferror(f.in.get())) return fennick::Status::OpenFailed;
  // The last run is always written: there is no next byte to extend it.
  auto* dst = reinterpret_cast<unsigned char*>(textops::room(f.output.out, kStepRoom));
  textops::advance(f.output.out, reinterpret_cast<char*>(finish(e, dst)));
  const uint64_t outBytes = textops::bytesPut(f.output.out);
  if (!fileops::closeOutput(f.output)) return fennick::Status::WriteFailed;
  sizes.in = inBytes;
  sizes.out = outBytes;
  return fennick::Status::Ok;
}

fennick::Status decompressFile(const char* input, const char* output, size_t readBlock,
                               size_t writeBlock) noexcept {
  // Whole pairs per read block.
  readBlock = readBlock < 2 ? 2 : readBlock & ~size_t(1);
  Files f;
  if (fennick::Status status = openFiles(input, output, readBlock, writeBlock, f);
      status != fennick::Status::Ok)
    return status;
  for (;;) {
    const size_t n = textops::readBlock(f.in.get(), f.block.get(), readBlock);
    // A trailing odd byte is a count without its value: it yields nothing.
    decodeInto(f.block.get(), n & ~size_t(1), f.output.out);
    if (n < readBlock) break;
  }
  if (std::ferror(f.in.get())) return fennick::Status::OpenFailed;
  if (!fileops::closeOutput(f.output)) return fennick::Status::WriteFailed;
  return fennick::Status::Ok;
}

float compressionRatio(const Sizes& sizes) noexcept {
  // Both sizes become floats before the division; the stores round on x87
  // too, where registers hold more precision.
  volatile float outSize = static_cast<float>(sizes.out);
  volatile float inSize = static_cast<float>(sizes.in);
  volatile float ratio = outSize / inSize;
  return ratio;
}

}  // namespace runlength
