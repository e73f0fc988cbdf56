// Replacing a file's contents on Windows: no permission bits or owners to
// carry over, and no in-place rewrite (a file is replaced by renaming only).
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "FileOps.h"

namespace fileops {

textops::FilePtr openBeside(Replacement& r, const char* path) {
  // Writable as itself.
  std::FILE* probe = std::fopen(path, "ab");
  if (!probe) return textops::FilePtr();
  std::fclose(probe);
  r.target = path;
  for (unsigned serial = 0; serial < 100; ++serial) {
    std::string name = r.target + ".new" + std::to_string(serial);
    const int fd = _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                         _S_IREAD | _S_IWRITE);
    if (fd >= 0) {
      std::FILE* f = _fdopen(fd, "wb");
      if (!f) {
        _close(fd);
        std::remove(name.c_str());
        return textops::FilePtr();
      }
      std::setvbuf(f, nullptr, _IONBF, 0);
      r.temp = std::move(name);
      return textops::FilePtr(f);
    }
    if (errno != EEXIST) break;
  }
  return textops::FilePtr();
}

bool finishReplacement(Replacement& r, bool written) noexcept {
  if (r.way == ReplaceWay::Recreate) return written;
  if (r.temp.empty()) return false;
  // std::rename does not replace an existing file here.
  const bool replaced =
      written && MoveFileExA(r.temp.c_str(), r.target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!replaced) std::remove(r.temp.c_str());
  r.temp.clear();
  return replaced;
}

bool rewriteTail(const char*, const FileIdentity&, const unsigned char*, size_t, size_t,
                 const unsigned char*, size_t) noexcept {
  return false;
}

}  // namespace fileops
