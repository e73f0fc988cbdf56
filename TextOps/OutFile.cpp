// One buffered writer for every output file: a large aligned buffer written
// with whole-block writes.
#include "TextOps.h"

namespace textops {

namespace {

bool appendTo(std::vector<unsigned char>& memory, const unsigned char* bytes,
              size_t size) noexcept {
  try {
    memory.insert(memory.end(), bytes, bytes + size);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

fennick::Status openOutMemory(OutFile& out, std::vector<unsigned char>& memory,
                              size_t writeBlock) noexcept {
  fennick::Status status = openOutWith(out, writeBlock, [] { return FilePtr(); });
  if (status == fennick::Status::NoMemory) return status;
  out.memory = &memory;
  return fennick::Status::Ok;
}

// Without a file (it could not be opened) the bytes are dropped as failed.
void flushOut(OutFile& out) noexcept {
  if (out.length == 0) return;
  if (out.memory) {
    if (!appendTo(*out.memory, out.buffer.get(), out.length)) out.failed = true;
  } else if (!out.file ||
      std::fwrite(out.buffer.get(), 1, out.length, out.file.get()) != out.length)
    out.failed = true;
  out.flushed += out.length;
  out.length = 0;
}

void putSlow(OutFile& out, const void* data, size_t size) noexcept {
  const auto* bytes = static_cast<const unsigned char*>(data);
  flushOut(out);
  if (size >= out.capacity) {
    if (out.memory) {
      if (!appendTo(*out.memory, bytes, size)) out.failed = true;
    } else if (!out.file || std::fwrite(bytes, 1, size, out.file.get()) != size) out.failed = true;
    out.flushed += size;
    return;
  }
  std::memcpy(out.buffer.get(), bytes, size);
  out.length = size;
}

bool closeOut(OutFile& out) noexcept {
  if (out.memory) {
    flushOut(out);
    out.memory = nullptr;
    return !out.failed;
  }
  if (!out.file) return false;
  flushOut(out);
  bool ok = !out.failed;
  if (std::fclose(out.file.release()) != 0) ok = false;
  return ok;
}

}  // namespace textops
