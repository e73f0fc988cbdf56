// The buffered writer over a plain file, for tests of what is written: the
// library itself opens every output through fileops::openOutput.
#pragma once

#include <cstdio>
#include <string>

#include "TextOps.h"

namespace testsupport {

inline fennick::Status openPlainOut(textops::OutFile& out, const std::string& path,
                                       size_t writeBlock = textops::kDefaultWriteBlock) {
  return textops::openOutWith(out, writeBlock, [&] {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f) std::setvbuf(f, nullptr, _IONBF, 0);
    return textops::FilePtr(f);
  });
}

}  // namespace testsupport
