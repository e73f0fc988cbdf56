// One buffered writer for every output file: a large aligned buffer written
// with whole-block writes.
#include "TextOps.h"

namespace textops {

OutStatus openOut(OutFile& out, const char* path, size_t writeBlock) noexcept {
  out.length = 0;
  out.failed = false;
  // Whole pages (too large a block fails to allocate as it stands).
  const size_t capacity = writeBlock > SIZE_MAX - kPageSize
                              ? writeBlock
                              : (writeBlock + kPageSize - 1) / kPageSize * kPageSize;
  out.buffer = allocateAligned(capacity);
  if (!out.buffer) return OutStatus::NoMemory;
  out.capacity = capacity;
  out.file = openWriteRaw(path);
  return out.file ? OutStatus::Ok : OutStatus::OpenFailed;
}

void flushOut(OutFile& out) noexcept {
  if (out.length == 0 || !out.file) return;
  if (std::fwrite(out.buffer.get(), 1, out.length, out.file.get()) != out.length)
    out.failed = true;
  out.length = 0;
}

void putSlow(OutFile& out, const void* data, size_t size) noexcept {
  const auto* bytes = static_cast<const unsigned char*>(data);
  flushOut(out);
  if (size >= out.capacity) {
    if (std::fwrite(bytes, 1, size, out.file.get()) != size) out.failed = true;
    return;
  }
  std::memcpy(out.buffer.get(), bytes, size);
  out.length = size;
}

bool closeOut(OutFile& out) noexcept {
  if (!out.file) return false;
  flushOut(out);
  bool ok = !out.failed;
  if (std::fclose(out.file.release()) != 0) ok = false;
  return ok;
}

}  // namespace textops
