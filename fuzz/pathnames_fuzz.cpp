// Path name functions on any bytes: every part is a piece of the path, and
// the parts fit together.
#include <cstdint>
#include <string>

#include "FileOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string folder = fileops::folderPart(path);
  const std::string name = fileops::fileName(path);
  if (folder + name != path) __builtin_trap();
  const std::string stem = fileops::fileNameWithoutExtension(name);
  if (name.compare(0, stem.size(), stem) != 0) __builtin_trap();
  if (fileops::fileNameWithoutExtension(path) != stem) __builtin_trap();
  if (fileops::cutAtLastDot(path) + fileops::fromLastDot(path) != path) __builtin_trap();
  const std::string cut = fileops::withoutExtension(path);
  if (path.compare(0, cut.size(), cut) != 0) __builtin_trap();
  if (cut.size() < folder.size()) __builtin_trap();  // never into the folder part
  if (fileops::namesFileByDot(path) != (name.find('.') != std::string::npos)) __builtin_trap();
  return 0;
}
