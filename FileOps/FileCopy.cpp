#include <cstdio>

#include "Common.h"
#include "FileOps.h"
#include "TextOps.h"

namespace fileops {

namespace {
// Large, page-aligned blocks: a copy runs at the speed of the file system.
constexpr size_t kCopyBlock = size_t(1) << 20;
}  // namespace

fennick::Status copyFile(const char* source, const char* destination) noexcept {
  using fennick::Status;
  if (!source || !destination) return Status::NullArgument;
  textops::FilePtr in = textops::openRead(source);
  if (!in) return Status::OpenFailed;
  OneInput from(in.get());
  if (from.identity.folder) return Status::OpenFailed;
  const FileIdentity to = identityOf(destination);
  // No file to replace: a device node or a pipe is not a copy's place.
  if (to.folder || to.special) return Status::CreateFailed;
  if (namesInput(destination, from.identity)) return Status::OutputIsInput;
  textops::AlignedBytes buffer = textops::allocateAligned(kCopyBlock);
  if (!buffer) return Status::NoMemory;
  // A private file stays private: the copy has the source's permission
  // bits, never wider ones for a moment. Blocks of kCopyBlock bytes go past
  // the writer's one-page buffer straight to the file.
  from.rules.inputBits = true;
  Output out;
  // OutputIsInput here: it became the source since the check above.
  if (Status status = openOutput(out, destination, from.rules, textops::kPageSize);
      status != Status::Ok)
    return status;
  for (;;) {
    const size_t n = textops::readBlock(in.get(), buffer.get(), kCopyBlock);
    if (n == 0) {
      // A read that failed leaves the destination as it was.
      if (std::ferror(in.get())) return Status::OpenFailed;
      break;
    }
    textops::put(out.out, buffer.get(), n);
    if (textops::outFailed(out.out)) return Status::WriteFailed;
  }
  return closeOutput(out) ? Status::Ok : Status::WriteFailed;
}

}  // namespace fileops
