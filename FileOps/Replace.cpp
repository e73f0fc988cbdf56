// Replacing a file's contents: the steps both platforms share; the platform
// files (Replace_posix.cpp, Replace_win.cpp) check the target, finish the
// replacement and rewrite in place.
#include <cerrno>
#include <cstdio>
#include <string>

#include "FileOps.h"

namespace fileops {

namespace {

// The new file beside the target: the first of "<target>.new0" ...
// ".new99" that no file has yet.
textops::FilePtr openBeside(Replacement& r, const char* path) {
  if (!prepareBeside(r, path)) return textops::FilePtr();
  for (unsigned serial = 0; serial < 100; ++serial) {
    std::string name = r.target + ".new" + std::to_string(serial);
    textops::FilePtr f = textops::openNewRaw(name.c_str());
    if (f) {
      r.temp = std::move(name);
      return f;
    }
    if (errno != EEXIST) break;
  }
  r.inPlaceOnly = true;  // the folder takes no new file
  return textops::FilePtr();
}

}  // namespace

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
