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

FilePtr openRead(const char* path) noexcept {
  // Regular files only: a folder fails its reads, a device may never end,
  // and a pipe would keep the open waiting for a writer (hence O_NONBLOCK,
  // cleared once the file is known to be regular). Unbuffered: the callers
  // read into their own buffers.
  if (!path) return FilePtr();
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FilePtr();
  struct stat st;
  const int status = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fcntl(fd, F_GETFL) : -1;
  std::FILE* f = status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1
                     ? nullptr
                     : fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
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
