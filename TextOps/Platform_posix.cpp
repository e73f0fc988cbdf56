// Memory and file handles on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "Platform.h"
#include "TextOps.h"

namespace textops {

void* allocatePages(size_t bytes) noexcept {
  // posix_memalign rather than aligned_alloc: macOS has it from 10.6 on.
  void* p = nullptr;
  return posix_memalign(&p, kPageSize, bytes) == 0 ? p : nullptr;
}

void freePages(void* block) noexcept { std::free(block); }

namespace {

// Opens without waiting for the other end of a pipe (an open of a pipe
// blocks until that end is opened), then reads and writes block as usual.
// Unbuffered: the callers read into and write from their own buffers.
FilePtr openNoWait(const char* path, int flags, const char* mode, bool regularOnly,
                   uint32_t permissions) noexcept {
  if (!path) return FilePtr();
  int fd = ::open(path, flags | O_NONBLOCK, static_cast<mode_t>(permissions & 0777));
  if (fd < 0) return FilePtr();
  struct stat st;
  if (regularOnly && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd);
    return FilePtr();
  }
  int status = fcntl(fd, F_GETFL);
  std::FILE* f = status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1
                     ? nullptr
                     : fdopen(fd, mode);
  if (!f) {
    ::close(fd);
    return FilePtr();
  }
  std::setvbuf(f, nullptr, _IONBF, 0);
  return FilePtr(f);
}

}  // namespace

FilePtr openRead(const char* path) noexcept {
  // Regular files only: a folder fails its reads, a device may never end,
  // and a pipe would keep the open waiting for a writer.
  return openNoWait(path, O_RDONLY, "rb", true, 0);
}

FilePtr openWriteRaw(const char* path, uint32_t permissions) noexcept {
  // As fopen(path, "wb"); a pipe nobody reads fails to open instead of
  // waiting for a reader.
  return openNoWait(path, O_WRONLY | O_CREAT | O_TRUNC, "wb", false, permissions);
}

FilePtr openNewRaw(const char* path) noexcept {
  if (!path) return FilePtr();
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return FilePtr();
  std::FILE* f = fdopen(fd, "wb");
  if (!f) {
    ::close(fd);
    std::remove(path);
    return FilePtr();
  }
  std::setvbuf(f, nullptr, _IONBF, 0);
  return FilePtr(f);
}

bool seekTo(std::FILE* f, int64_t offset) noexcept {
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
}

int64_t fileSize(std::FILE* f) noexcept {
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  const int64_t size = static_cast<int64_t>(ftello(f));
  if (!seekTo(f, 0)) return -1;
  return size;
}

}  // namespace textops
