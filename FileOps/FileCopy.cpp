#include <cstdio>

#include "Common.h"
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
  OneInput from(in.get());
  if (from.identity.folder) return kCopyFailed;
  const FileIdentity to = identityOf(destination);
  // No file to replace: a device node or a pipe is not a copy's place.
  if (to.folder || to.special) return kCopyFailed;
  if (namesInput(destination, from.identity)) return 0.0f;  // the destination already is the source
  textops::AlignedBytes buffer = textops::allocateAligned(kCopyBlock);
  if (!buffer) return fennick::kResultNoMemory;
  // A private file stays private: the copy has the source's permission
  // bits, never wider ones for a moment. Blocks of kCopyBlock bytes go past
  // the writer's one-page buffer straight to the file.
  from.rules.inputBits = true;
  Output out;
  if (fennick::Status status = openOutput(out, destination, from.rules, textops::kPageSize);
      status != fennick::Status::Ok) {
    // it became the source since the check above
    return fennick::resultOf(status, {{fennick::Status::OutputIsInput, 0.0f}, {fennick::Status::NoMemory, fennick::kResultNoMemory}, {fennick::Status::CreateFailed, kCopyFailed}});
  }
  for (;;) {
    const size_t n = textops::readBlock(in.get(), buffer.get(), kCopyBlock);
    if (n == 0) {
      // A read that failed leaves the destination as it was.
      if (std::ferror(in.get())) return kCopyFailed;
      break;
    }
    textops::put(out.out, buffer.get(), n);
    if (textops::outFailed(out.out)) return kCopyFailed;
  }
  return closeOutput(out) ? 0.0f : kCopyFailed;
}

}  // namespace fileops
