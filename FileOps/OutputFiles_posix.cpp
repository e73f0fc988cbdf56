// The room on the file system an output goes to, on POSIX systems.
#include <sys/statvfs.h>

#include <string>

#include "FileOps.h"

namespace fileops {

bool freeSpaceFor(const char* path, FreeSpace& space) noexcept {
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
    space.bytes = unit != 0 && blocks > UINT64_MAX / unit ? UINT64_MAX : blocks * unit;
    space.blockSize = unit ? unit : 1;
    // A file system that counts no files at all (f_files 0) has no limit on
    // them to tell.
    space.filesKnown = fs.f_files != 0;
    space.files = fs.f_favail;
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace fileops
