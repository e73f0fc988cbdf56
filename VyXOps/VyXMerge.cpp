// File merge: the target without its last 14 bytes, then the other file
// without its last 14 bytes. The new content goes to a file beside the
// target that replaces it only once it is completely written. Where the
// folder takes no new file, or the target has further hard links, the target
// is rewritten in place, its old tail put back if the writing fails.
#include <string>

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "TextOps.h"
#include "VyXOps.h"

namespace {

constexpr size_t kTail = 14;

size_t withoutTail(size_t size) { return size > kTail ? size - kTail : 0; }

}  // namespace

float mergeFiles(const char* appendPath, char* targetPath) noexcept {
  return fennick::guarded([&] {
    textops::FileBytes target, addition;
    const fileops::FileIdentity readTarget = fileops::identityOf(targetPath);
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
    const size_t keep = withoutTail(target.size), added = withoutTail(addition.size);

    fileops::Replacement replacement;
    textops::FilePtr file =
        fileops::openReplacement(replacement, targetPath, fileops::ReplaceWay::Beside);
    if (!file) {
      if (replacement.noMemory) return fennick::kResultNoMemory;
      // The target's kept bytes are its first bytes already: in place, only
      // the addition goes after them and the length changes.
      return replacement.inPlaceOnly &&
                     fileops::rewriteTail(replacement.target.c_str(), readTarget,
                                          target.data.get(), target.size, keep,
                                          addition.data.get(), added)
                 ? 0.0f
                 : vyx::kResultTargetWriteFailed;
    }
    // Parts of a page or more go past the buffer straight to the file.
    textops::OutFile out;
    const textops::OutStatus opened =
        textops::openOutWith(out, textops::kPageSize, [&] { return std::move(file); });
    bool written = opened == textops::OutStatus::Ok;
    if (written) {
      textops::put(out, target.data.get(), keep);
      textops::put(out, addition.data.get(), added);
      written = textops::closeOut(out);
    }
    file.reset();  // still here when the buffer could not be had
    const bool replaced = fileops::finishReplacement(replacement, written);
    if (opened == textops::OutStatus::NoMemory) return fennick::kResultNoMemory;
    return replaced ? 0.0f : vyx::kResultTargetWriteFailed;
  });
}
