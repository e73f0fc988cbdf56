#include <cstdio>

#include "FileOps.h"
#include "TextOps.h"

namespace fileops {

namespace {
// Large, page-aligned blocks: a copy runs at the speed of the file system.
constexpr size_t kCopyBlock = size_t(1) << 20;
}  // namespace

float copyFile(const char* source, const char* destination) noexcept {
  if (!source || !destination) return kCopyFailed;
  textops::FilePtr in = textops::openRead(source);
  if (!in) return kCopyFailed;
  const FileIdentity from = identityOf(in.get());
  if (from.folder) return kCopyFailed;
  const FileIdentity to = identityOf(destination);
  // No file to replace: deleting a device node or a pipe would lose it.
  if (to.folder || to.special) return kCopyFailed;
  if (namesInput(destination, from)) return 0.0f;  // the destination already is the source
  textops::AlignedBytes buffer = textops::allocateAligned(kCopyBlock);
  if (!buffer) return kCopyFailed;
  // A private file stays private: the copy is created with the source's
  // permission bits, never wider ones for a moment. Blocks of kCopyBlock
  // bytes go past the writer's one-page buffer straight to the file.
  Replacement replacement;
  textops::OutFile out;
  if (textops::openOutWith(out, textops::kPageSize, [&] {
        return openReplacement(replacement, destination, ReplaceWay::Recreate, from.permissions);
      }) != textops::OutStatus::Ok)
    return kCopyFailed;
  float result = 0.0f;
  for (;;) {
    const size_t n = textops::readBlock(in.get(), buffer.get(), kCopyBlock);
    if (n == 0) {
      if (std::ferror(in.get())) result = kCopyFailed;
      break;
    }
    textops::put(out, buffer.get(), n);
    if (textops::outFailed(out)) {
      result = kCopyFailed;
      break;
    }
  }
  if (!textops::closeOut(out)) result = kCopyFailed;
  return finishReplacement(replacement, result == 0.0f) ? result : kCopyFailed;
}

}  // namespace fileops
