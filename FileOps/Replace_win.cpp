// Replacing a file's contents on Windows: no permission bits or owners to
// carry over, and no in-place rewrite (a file is replaced by renaming only).
#include <windows.h>

#include <cstdio>

#include "FileOps.h"

namespace fileops {

bool prepareBeside(Replacement& r, const char* path) {
  // Writable as itself.
  std::FILE* probe = std::fopen(path, "ab");
  if (!probe) return false;
  std::fclose(probe);
  r.target = path;
  return true;
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
