// Vertex colour export on any bytes, in memory: the RGB block has one
// " rrggbb" entry per record, 32 to a line.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fennick::Status;
  vyx::ColourBlock block;
  const Status s = vyx::colourBlock(data, size, block);
  if (s != Status::Ok) {
    if (s != Status::PastEnd) __builtin_trap();
    return 0;
  }
  std::vector<unsigned char> text;
  textops::OutFile out;
  if (textops::openOutMemory(out, text) != Status::Ok) return 0;
  vyx::putColours(block, out);
  if (!textops::closeOut(out)) __builtin_trap();
  constexpr std::string_view kEnd = "\n# End of RGB block\n";
  const uint64_t c = block.count, lines = (c + 31) / 32, full = c / 32;
  const size_t header = std::string_view(reinterpret_cast<const char*>(text.data()),
                                         text.size()).find('\n') + 1;
  if (text.size() != header + lines * 5 + c * 7 + full + kEnd.size()) __builtin_trap();
  if (std::memcmp(text.data() + text.size() - kEnd.size(), kEnd.data(), kEnd.size()) != 0)
    __builtin_trap();
  if (c > 0) {
    // The last entry: the last record's red, green, blue.
    static const char kHex[] = "0123456789abcdef";
    const unsigned char* r = block.records + 4 * (c - 1);
    const char want[6] = {kHex[r[2] >> 4], kHex[r[2] & 15], kHex[r[1] >> 4],
                          kHex[r[1] & 15], kHex[r[0] >> 4], kHex[r[0] & 15]};
    const size_t at = text.size() - kEnd.size() - (c % 32 == 0 ? 1 : 0) - 6;
    if (std::memcmp(text.data() + at, want, 6) != 0) __builtin_trap();
  }
  return 0;
}
