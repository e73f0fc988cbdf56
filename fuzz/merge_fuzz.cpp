// File merge in memory: the input split in two at a position taken from its
// first byte; the merge must be both parts without their tails.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t cut = size == 1 ? 0 : 1 + data[0] % (size - 1);
  const uint8_t* body = data + 1;
  size_t a = cut > 0 ? cut - 1 : 0, b = size - 1 - a;
  bool self = data[0] & 0x80;
  const uint8_t* other = self ? body : body + a;
  const size_t otherSize = self ? a : b;
  std::vector<unsigned char> merged;
  textops::OutFile out;
  // A small buffer, so that parts of any length take both ways through it.
  if (textops::openOutMemory(out, merged, 64) != fennick::Status::Ok) return 0;
  vyx::putMerged(body, a, other, otherSize, out);
  if (!textops::closeOut(out)) __builtin_trap();
  std::string expected(reinterpret_cast<const char*>(body), a > 14 ? a - 14 : 0);
  expected.append(reinterpret_cast<const char*>(other), otherSize > 14 ? otherSize - 14 : 0);
  if (merged.size() != expected.size() ||
      (!merged.empty() && std::memcmp(merged.data(), expected.data(), merged.size()) != 0))
    __builtin_trap();
  return 0;
}
