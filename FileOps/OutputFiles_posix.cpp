// Output files on POSIX systems: creation with given permission bits, and
// the free space of the file system an output goes to.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <string>

#include "FileOps.h"

namespace fileops {

std::FILE* createFile(const char* path, uint32_t permissions) noexcept {
  if (!path) return nullptr;
  // Not waiting for the reader of a pipe; then blocking writes as usual.
  int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK,
                  static_cast<mode_t>(permissions & 0777));
  if (fd < 0) return nullptr;
  int status = fcntl(fd, F_GETFL);
  std::FILE* f = status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1
                     ? nullptr
                     : fdopen(fd, "wb");
  if (!f) {
    ::close(fd);
    return nullptr;
  }
  std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}

bool freeSpaceFor(const char* path, uint64_t& bytes) noexcept {
  if (!path) return false;
  try {
    std::string folder = path;
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos) {
      folder = ".";
    } else {
      folder.resize(slash == 0 ? 1 : slash);
    }
    struct statvfs fs;
    // A file system that states no size at all (some virtual ones) tells
    // nothing about its room.
    if (statvfs(folder.c_str(), &fs) != 0 || fs.f_blocks == 0) return false;
    const uint64_t unit = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    const uint64_t blocks = fs.f_bavail;
    bytes = unit != 0 && blocks > UINT64_MAX / unit ? UINT64_MAX : blocks * unit;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace fileops
