// What the POSIX files of FileOps share beyond FileOps.h.
#pragma once

#include "FileOps.h"

namespace fileops {

FileIdentity identityOfDescriptor(int descriptor) noexcept;

}  // namespace fileops
