// Run-length compression of whole files, block by block: runs carry over
// from one read block to the next, and the pairs are encoded straight into
// the writer's buffer without data-dependent branches.
#include "RunLength.h"

#include <cstdint>
#include <cstring>

#include "Common.h"
#include "FileOps.h"
#include "TextOps.h"

namespace runlength {

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
// Room kept free in the write buffer before each step of a coder.
constexpr size_t kStepRoom = 512;

inline void store64(unsigned char* p, uint64_t w) { std::memcpy(p, &w, 8); }

// Where the next bytes go: at least kStepRoom free bytes.
inline unsigned char* stepRoom(textops::OutFile& out) {
  return reinterpret_cast<unsigned char*>(textops::room(out, kStepRoom));
}

inline void advanceTo(textops::OutFile& out, unsigned char* end) {
  textops::advance(out, reinterpret_cast<char*>(end));
}

// The run that reached the end of the previous block (count 1 to 255).
struct OpenRun {
  bool open = false;
  unsigned value = 0;
  unsigned count = 0;
};

// The next `chunk` bytes fit the write buffer at `dst` as one pair each.
size_t encodeChunk(textops::OutFile& out, size_t left, unsigned char*& dst) {
  size_t chunk = left < 32768 ? left : 32768;
  dst = reinterpret_cast<unsigned char*>(textops::room(out, 2 * chunk + 2));
  const size_t most = (textops::roomLeft(out) - 2) / 2;
  return chunk < most ? chunk : most;
}

// Encodes one block; the run that touches its end stays open in `run`.
// Every byte is compared with its predecessor and the pair of the current
// run is written each time, but the output only advances where a run ends
// (or reaches 255): no branch depends on the data.
void encodeBlock(const unsigned char* d, size_t n, OpenRun& run, textops::OutFile& out) {
  if (n == 0) return;
  size_t i = 0;
  if (!run.open) {
    run.open = true;
    run.value = d[0];
    run.count = 1;
    i = 1;
  }
  unsigned value = run.value;
  unsigned count = run.count;
  while (i < n) {
    unsigned char* dst;
    const size_t chunk = encodeChunk(out, n - i, dst);
    for (const size_t end = i + chunk; i < end; ++i) {
      const unsigned next = d[i];
      const bool ends = (next != value) | (count == 255);
      dst[0] = static_cast<unsigned char>(count);
      dst[1] = static_cast<unsigned char>(value);
      dst += ends ? 2 : 0;
      count = ends ? 1 : count + 1;
      value = next;
    }
    advanceTo(out, dst);
  }
  run.value = value;
  run.count = count;
}

void closeRun(OpenRun& run, textops::OutFile& out) {
  if (!run.open) return;
  unsigned char* dst = stepRoom(out);
  dst[0] = static_cast<unsigned char>(run.count);
  dst[1] = static_cast<unsigned char>(run.value);
  advanceTo(out, dst + 2);
  run.open = false;
}

// Expands whole pairs [d, d + n), n even. Short runs are written as one or
// two 8-byte stores of the value and the output advances by the count.
void decodeBlock(const unsigned char* d, size_t n, textops::OutFile& out) {
  size_t i = 0;
  while (i < n) {
    unsigned char* dst = stepRoom(out);
    // Pairs that surely fit: 255 bytes each, plus the stores' overhang.
    size_t pairs = (textops::roomLeft(out) - 16) / 255;
    if (pairs > (n - i) / 2) pairs = (n - i) / 2;
    for (const size_t end = i + 2 * pairs; i < end; i += 2) {
      const unsigned count = d[i];
      const uint64_t pattern = kOnes * d[i + 1];
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
    advanceTo(out, dst);
  }
}

struct Files {
  textops::FilePtr in;
  fileops::FileIdentity from;
  fileops::Output output;
  textops::AlignedBytes block;
};

// Opens the input, checks that the output is another file, opens the
// output and takes the read block. 0 when all is ready, else a result code.
float openFiles(const char* input, const char* output, size_t readBlock, size_t writeBlock,
                Files& f) {
  if (!input || !output) return fennick::kResultNullArgument;
  f.in = textops::openRead(input);
  if (!f.in) return kResultInputFailed;
  f.from = fileops::identityOf(f.in.get());
  if (f.from.folder) return kResultInputFailed;
  if (fileops::namesInput(output, f.from)) return kResultSameFile;
  f.block = textops::allocateAligned(readBlock);
  if (!f.block) return fennick::kResultNoMemory;
  fileops::OutputRules rules;
  rules.inputs = &f.from;
  rules.inputCount = 1;
  if (fennick::Status status = fileops::openOutput(f.output, output, rules, writeBlock < kStepRoom ? kStepRoom : writeBlock);
      status != fennick::Status::Ok) {
    return fennick::resultOf(status, {{fennick::Status::CreateFailed, kResultOutputFailed}, {fennick::Status::OutputIsInput, kResultSameFile}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
  }
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
    const size_t n = textops::readBlock(f.in.get(), f.block.get(), readBlock);
    inBytes += n;
    if (n > 0) encodeBlock(f.block.get(), n, run, f.output.out);
    if (n < readBlock) break;
  }
  // A read that failed leaves the output as it was.
  if (std::ferror(f.in.get())) return kResultInputFailed;
  // The last run is always written: there is no next byte to extend it.
  closeRun(run, f.output.out);
  const uint64_t outBytes = textops::bytesPut(f.output.out);
  if (!fileops::closeOutput(f.output)) return kResultOutputFailed;
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
    const size_t n = textops::readBlock(f.in.get(), f.block.get(), readBlock);
    // A trailing odd byte is a count without its value: it yields nothing.
    decodeBlock(f.block.get(), n & ~size_t(1), f.output.out);
    if (n < readBlock) break;
  }
  if (std::ferror(f.in.get())) return kResultInputFailed;
  if (!fileops::closeOutput(f.output)) return kResultOutputFailed;
  return 0.0f;
}

}  // namespace runlength
