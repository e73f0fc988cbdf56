// Face group count on any bytes.
#include <cstdint>

#include "FennickDLL.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzzsupport::writeInput("in.vyx", data, size);
  float r = GetUVGroup(path.c_str());
  if (!(r == -18 || r == -19 || (r >= 0 && r <= 65536 && r <= float(size) / 2))) __builtin_trap();
  return 0;
}
