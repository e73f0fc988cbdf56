// Texture-coordinate scaling on any text, in memory, with a factor taken
// from the input's first byte: every input line gives exactly one output
// line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ScaleUVs.h"
#include "TextOps.h"

namespace {

size_t linesOf(const char* text, size_t size) {
  size_t lines = 0;
  for (size_t i = 0; i < size; ++i) lines += text[i] == '\n';
  return lines + (size > 0 && text[size - 1] != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const double factor = size ? data[0] / 255.0 : 0.5;
  std::string scaled;
  textops::OutFile out;
  if (textops::openOutMemory(out, scaled, size_t(1) << 16) != fennick::Status::Ok) return 0;
  scaleuvs::scaleUVText(data, size, factor, out);
  if (!textops::closeOut(out)) return 0;  // no memory for the text
  if (linesOf(reinterpret_cast<const char*>(data), size) != linesOf(scaled.data(), scaled.size()))
    std::abort();
  if (!scaled.empty() && scaled.back() != '\n') std::abort();
  return 0;
}
