// Path name functions on any bytes and mode.
#include <cstdint>
#include <string>

#include "FennickDLL.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int mode = int(int8_t(data[0]));
  std::string path(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string part = FileNameExtract(path, mode);
  if (part.size() > path.size()) __builtin_trap();
  for (int m = 0; m <= 7; ++m) FileNameExtract(path, m);
  if (FilepathTruncate(path) != path) __builtin_trap();
  return 0;
}
