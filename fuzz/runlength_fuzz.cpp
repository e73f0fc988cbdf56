// Run-length coder: any input decodes without fault, and compressing then
// decompressing restores the input, for read and write blocks of many
// sizes (so runs and pairs straddle every kind of boundary).
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "RunLength.h"

namespace {
std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t readBlock = 1 + data[0] % 97;
  const size_t writeBlock = 512 + data[0] * 7;
  const std::string in = fuzzsupport::writeInput("rle_in", data + 1, size - 1);
  const std::string out = fuzzsupport::scratchDir() + "/rle_out";
  const std::string back = fuzzsupport::scratchDir() + "/rle_back";
  if (runlength::decompressFile(in.c_str(), out.c_str(), readBlock, writeBlock) != 0.0f)
    std::abort();
  const float ratio = runlength::compressFile(in.c_str(), out.c_str(), readBlock, writeBlock);
  if (size > 1 && !(ratio > 0.0f)) std::abort();
  if (runlength::decompressFile(out.c_str(), back.c_str(), writeBlock, readBlock) != 0.0f)
    std::abort();
  if (readAll(back) != std::string(reinterpret_cast<const char*>(data + 1), size - 1)) std::abort();
  return 0;
}
