// Memory and file handles on Windows.
#include <fcntl.h>
#include <io.h>
#include <malloc.h>
#include <sys/stat.h>

#include <cstdio>

#include "Platform.h"
#include "TextOps.h"

namespace textops {

void* allocatePages(size_t bytes) noexcept { return _aligned_malloc(bytes, kPageSize); }

void freePages(void* block) noexcept { _aligned_free(block); }

namespace {
// Unbuffered: the callers read into and write from their own buffers.
FilePtr openUnbuffered(const char* path, const char* mode) noexcept {
  if (!path) return FilePtr();
  std::FILE* f = std::fopen(path, mode);
  if (f) std::setvbuf(f, nullptr, _IONBF, 0);
  return FilePtr(f);
}
}  // namespace

FilePtr openRead(const char* path) noexcept { return openUnbuffered(path, "rb"); }

bool seekTo(std::FILE* f, int64_t offset) noexcept {
  return _fseeki64(f, offset, SEEK_SET) == 0;
}

int64_t fileSize(std::FILE* f) noexcept {
  if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
  const int64_t size = _ftelli64(f);
  if (!seekTo(f, 0)) return -1;
  return size;
}

}  // namespace textops
