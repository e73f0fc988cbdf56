// Sculpt map conversion on any text: the OBJ reader, the checks, the
// painting and the bitmap writer.
#include <cstdint>

#include "FuzzSupport.h"
#include "SculptyOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string obj = fuzzsupport::writeInput("in.obj", data, size);
  std::string bmp = fuzzsupport::scratchDir() + "/out.bmp";
  exportSculpty(obj.c_str(), bmp.c_str(), true);
  return 0;
}
