// File merge: the target without its last 14 bytes, then the other file
// without its last 14 bytes. The new content goes to a file beside the
// target that replaces it only once it is completely written.
#include <cstdio>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "ExportGuard.h"
#include "TextOps.h"
#include "VyXOps.h"

namespace {

constexpr size_t kTail = 14;

size_t withoutTail(size_t size) { return size > kTail ? size - kTail : 0; }

// A name beside `target` that no file has yet, opened exclusively.
textops::FilePtr openBeside(const std::string& target, std::string& name) {
  for (unsigned serial = 0; serial < 100; ++serial) {
    name = target + ".merge" + std::to_string(serial);
    std::FILE* f = std::fopen(name.c_str(), "wbx");
    if (f) {
      std::setvbuf(f, nullptr, _IONBF, 0);
      return textops::FilePtr(f);
    }
    std::FILE* existing = std::fopen(name.c_str(), "rb");
    if (!existing) break;  // not a name clash: the folder refuses new files
    std::fclose(existing);
  }
  return textops::FilePtr();
}

}  // namespace

float mergeFiles(const char* appendPath, char* targetPath) {
  return fennick::guarded([&] {
    textops::FileBytes target, addition;
    switch (textops::readWholeFile(targetPath, target)) {
      case textops::ReadStatus::OpenFailed: return vyx::kResultTargetReadFailed;
      case textops::ReadStatus::NoMemory: return fennick::kResultNoMemory;
      case textops::ReadStatus::Ok: break;
    }
    switch (textops::readWholeFile(appendPath, addition)) {
      case textops::ReadStatus::OpenFailed: return vyx::kResultOpenFailed;
      case textops::ReadStatus::NoMemory: return fennick::kResultNoMemory;
      case textops::ReadStatus::Ok: break;
    }
    // The target must be writable as itself, as when it was rewritten in place.
    std::FILE* probe = std::fopen(targetPath, "ab");
    if (!probe) return vyx::kResultTargetWriteFailed;
    std::fclose(probe);

    std::string temp;
    textops::OutFile out;
    out.file = openBeside(targetPath, temp);
    if (!out.file) return vyx::kResultTargetWriteFailed;
    out.buffer = textops::allocateAligned(textops::kPageSize);
    out.capacity = out.buffer ? textops::kPageSize : 0;
    bool written = out.buffer != nullptr;
    if (written) {
      textops::put(out, target.data.get(), withoutTail(target.size));
      textops::put(out, addition.data.get(), withoutTail(addition.size));
    }
    written = textops::closeOut(out) && written;
#if !defined(_WIN32)
    // The replacement keeps the target's permission bits.
    struct stat targetStat;
    if (written && stat(targetPath, &targetStat) == 0)
      chmod(temp.c_str(), targetStat.st_mode & 07777);
#endif
    if (!written || std::rename(temp.c_str(), targetPath) != 0) {
      std::remove(temp.c_str());
      return vyx::kResultTargetWriteFailed;
    }
    return 0.0f;
  });
}
