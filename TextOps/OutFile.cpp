// One buffered writer for every output file: a large aligned buffer written
// with whole-block writes.
#include "TextOps.h"

namespace textops {

namespace {

template <class Target>
bool appendTo(void* memory, const unsigned char* bytes, size_t size) noexcept {
  try {
    auto& into = *static_cast<Target*>(memory);
    into.insert(into.end(), bytes, bytes + size);
    return true;
  } catch (...) {
    return false;
  }
}

template <class Target>
fennick::Status openMemory(OutFile& out, Target& into, size_t writeBlock,
                           void*& memory,
                           bool (*&append)(void*, const unsigned char*, size_t) noexcept) {
  fennick::Status status = openOutWith(out, writeBlock, [] { return FilePtr(); });
  if (status == fennick::Status::NoMemory) return status;
  into.clear();
  memory = &into;
  append = appendTo<Target>;
  return fennick::Status::Ok;
}

}  // namespace

// Without a file (it could not be opened) the bytes are dropped as failed.
void flushOut(OutFile& out) noexcept {
  if (out.length == 0) return;
  if (out.memory) {
    if (!out.append(out.memory, out.buffer.get(), out.length)) out.failed = true;
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
      if (!out.append(out.memory, bytes, size)) out.failed = true;
    } else if (!out.file || std::fwrite(bytes, 1, size, out.file.get()) != size) out.failed = true;
    out.flushed += size;
    return;
  }
  std::memcpy(out.buffer.get(), bytes, size);
  out.length = size;
}

fennick::Status openOutMemory(OutFile& out, std::vector<unsigned char>& into,
                              size_t writeBlock) noexcept {
  return openMemory(out, into, writeBlock, out.memory, out.append);
}

fennick::Status openOutMemory(OutFile& out, std::string& into, size_t writeBlock) noexcept {
  return openMemory(out, into, writeBlock, out.memory, out.append);
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
