// The one check against an output that would overwrite an input. Files are
// compared by identity, not by name: another spelling of the path, a
// symbolic link or a hard link all name the same file.
#include "FileOps.h"

namespace fileops {

bool namesInput(const char* output, const FileIdentity& input) noexcept {
  if (!output || !input.known) return false;
  return sameFile(identityOf(output), input);
}

}  // namespace fileops
