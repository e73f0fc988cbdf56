// Texture-coordinate scaling on any text, with a factor taken from the
// input's first byte.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "ScaleUVs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double factor = size ? data[0] / 255.0 : 0.5;
  std::string in = fuzzsupport::writeInput("in.obj", data, size);
  std::string out = fuzzsupport::scratchDir() + "/out.obj";
  scaleuvs::scaleUVFile(in.c_str(), out.c_str(), factor);
  return 0;
}
