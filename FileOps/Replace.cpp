// Replacing a file's contents: the steps both platforms share; the platform
// files (Replace_posix.cpp, Replace_win.cpp) open the file beside the target,
// finish the replacement and rewrite in place.
#include <cstdio>

#include "FileOps.h"

namespace fileops {

textops::FilePtr openReplacement(Replacement& r, const char* path, ReplaceWay way,
                                 uint32_t permissions) noexcept {
  r = Replacement();
  r.way = way;
  if (!path) return textops::FilePtr();
  try {
    if (way == ReplaceWay::Beside) return openBeside(r, path);
    r.target = path;
    std::remove(path);
    return textops::openWriteRaw(path, permissions);
  } catch (...) {  // only std::bad_alloc can leave the block
    r.noMemory = true;
    return textops::FilePtr();
  }
}

}  // namespace fileops
