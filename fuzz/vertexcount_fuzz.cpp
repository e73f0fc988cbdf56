// VyX block scan and vertex count: any bytes, byte counts below, at and far
// beyond the data's length. Within the data the count must be what the scan
// over the first n bytes finds.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "LittleEndian.h"
#include "VyXCore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fennick::Status;
  if (size < 4) return 0;
  int32_t n;
  std::memcpy(&n, data, 4);
  const unsigned char* body = data + 4;
  const size_t bytes = size - 4;
  uint32_t count = 0;
  for (int length : {n, 150, INT32_MAX}) {
    const Status s = vyx::vertexCount(body, bytes, length, count);
    if (s != Status::Ok && s != Status::NoBlock) __builtin_trap();
    if (length <= 0 || uint64_t(length) > bytes) continue;
    uint32_t at = 0;
    const uint64_t limit = length >= 20 ? uint64_t(length) - 20 : 0;
    const bool found = vyx::scanBuffer(body, size_t(length), vyx::kTagVertices, limit, at);
    if (found != (s == Status::Ok)) __builtin_trap();
    if (found && count != le::loadU32(body + at + 8)) __builtin_trap();
  }
  uint32_t at;
  for (uint32_t tag : {10001u, 20001u, 25001u, 35001u, 40001u})
    vyx::scanBuffer(body, bytes, tag, bytes, at);
  return 0;
}
