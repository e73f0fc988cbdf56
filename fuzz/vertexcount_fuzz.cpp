// VyX block scan and vertex count: any bytes, byte counts below, at and far
// beyond the file's length.
#include <cstdint>
#include <cstring>

#include "FennickDLL.h"
#include "FuzzSupport.h"
#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t n;
  std::memcpy(&n, data, 4);
  std::string path = fuzzsupport::writeInput("in.vyx", data + 4, size - 4);
  GetVertCountFromVyX(path.c_str(), n);
  GetVertCountFromVyX(path.c_str(), 150);
  GetVertCountFromVyX(path.c_str(), INT32_MAX);
  uint32_t at;
  for (uint32_t tag : {10001u, 20001u, 25001u, 35001u, 40001u})
    vyx::scanBuffer(data + 4, size - 4, tag, size - 4, at);
  return 0;
}
