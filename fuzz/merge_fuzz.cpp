// File merge: the input split in two files at a position taken from its
// first byte; the target must end up as both parts without their tails.
#include <cstdint>
#include <cstring>
#include <string>

#include "FennickDLL.h"
#include "FuzzSupport.h"
#include "TestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  size_t cut = size == 1 ? 0 : 1 + data[0] % (size - 1);
  const uint8_t* body = data + 1;
  size_t a = cut > 0 ? cut - 1 : 0, b = size - 1 - a;
  std::string target = fuzzsupport::writeInput("target.bin", body, a);
  std::string other = fuzzsupport::writeInput("other.bin", body + a, b);
  bool self = data[0] & 0x80;
  if (mergeFiles(self ? target.c_str() : other.c_str(), &target[0]) != 0) __builtin_trap();
  std::string expected(reinterpret_cast<const char*>(body), a > 14 ? a - 14 : 0);
  if (self)
    expected += expected;
  else
    expected.append(reinterpret_cast<const char*>(body + a), b > 14 ? b - 14 : 0);
  if (testsupport::readText(target) != expected) __builtin_trap();
  return 0;
}
