// Vertex colour export on any bytes.
#include <cstdint>
#include <cstdio>

#include "FennickDLL.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzzsupport::writeInput("in.vyx", data, size);
  std::string out = fuzzsupport::scratchDir() + "/colours.txt";
  float r = ReadVertColorVyx(path.c_str(), &out[0]);
  if (r != 0 && r != -19) __builtin_trap();
  std::remove(out.c_str());
  return 0;
}
