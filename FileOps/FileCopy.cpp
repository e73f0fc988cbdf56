#include <cstdio>

#include "FileOps.h"
#include "TextOps.h"

namespace fileops {

namespace {
// Large, page-aligned blocks: a copy runs at the speed of the file system.
constexpr size_t kCopyBlock = size_t(1) << 20;
}  // namespace

int copyFile(const char* source, const char* destination) noexcept {
  if (!source || !destination) return -1;
  textops::FilePtr in = textops::openRead(source);
  if (!in) return -1;
  const FileIdentity from = identityOf(in.get());
  if (from.folder) return -1;
  const FileIdentity to = identityOf(destination);
  // No file to replace: deleting a device node or a pipe would lose it.
  if (to.folder || to.special) return -1;
  if (namesInput(destination, from)) return 0;  // the destination already is the source
  textops::AlignedBytes buffer = textops::allocateAligned(kCopyBlock);
  if (!buffer) return -1;
  // A private file stays private: the copy is created with the source's
  // permission bits, never wider ones for a moment. Blocks of kCopyBlock
  // bytes go past the writer's one-page buffer straight to the file.
  Replacement replacement;
  textops::OutFile out;
  if (textops::openOutWith(out, textops::kPageSize, [&] {
        return openReplacement(replacement, destination, ReplaceWay::Recreate, from.permissions);
      }) != textops::OutStatus::Ok)
    return -1;
  int result = 0;
  for (;;) {
    const size_t n = textops::readBlock(in.get(), buffer.get(), kCopyBlock);
    if (n == 0) {
      if (std::ferror(in.get())) result = -1;
      break;
    }
    textops::put(out, buffer.get(), n);
    if (textops::outFailed(out)) {
      result = -1;
      break;
    }
  }
  if (!textops::closeOut(out)) result = -1;
  return finishReplacement(replacement, result == 0) ? result : -1;
}

}  // namespace fileops
