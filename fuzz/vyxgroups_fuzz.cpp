// Face group count on any bytes.
#include <cstdint>

#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fennick::Status;
  uint32_t distinct = 0;
  const Status s = vyx::groupCount(data, size, distinct);
  if (s == Status::Ok ? !(distinct <= 65536 && distinct <= size / 2)
                      : !(s == Status::NoBlock || s == Status::PastEnd))
    __builtin_trap();
  return 0;
}
