// UV tile set and tile files on any bytes, in memory: each tile file holds
// the input's prefix, every UV pair moved into the unit square or marked
// (-1, -1), and the closing zero bytes.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "LittleEndian.h"
#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fennick::Status;
  vyx::UVBlock block;
  const Status s = vyx::uvBlock(data, size, block);
  if (s != Status::Ok) {
    if (s != Status::NoBlock && s != Status::PastEnd) __builtin_trap();
    return 0;
  }
  std::string last = "?";
  const std::vector<UV_tile> tiles = vyx::tileSet(block, &last);
  if ((block.count == 0) != tiles.empty() || (block.count == 0) != last.empty()) __builtin_trap();
  bool lastListed = block.count == 0;
  for (size_t k = 0; k < tiles.size(); ++k) {
    if (k > 0 && !(tiles[k - 1].tileName < tiles[k].tileName)) __builtin_trap();
    if (tiles[k].tileName != vyx::tileName(tiles[k].tileU, tiles[k].tileV)) __builtin_trap();
    if (tiles[k].tileName == last) lastListed = true;
  }
  if (!lastListed) __builtin_trap();
  // The first tiles' files (every input's first tile and a few more).
  const size_t expected = block.prefix + block.count * 32 + 16;
  for (size_t k = 0; k < tiles.size() && k < 3; ++k) {
    std::vector<unsigned char> file;
    textops::OutFile out;
    if (textops::openOutMemory(out, file) != Status::Ok) return 0;
    vyx::putTile(block, tiles[k], out);
    if (!textops::closeOut(out)) __builtin_trap();
    if (file.size() != expected) __builtin_trap();
    if (std::memcmp(file.data(), data, block.prefix) != 0) __builtin_trap();
    size_t inTile = 0;
    for (size_t p = block.prefix; p + 16 < file.size(); p += 8) {
      const float u = le::loadF32(&file[p]), v = le::loadF32(&file[p + 4]);
      if (u == -1.0f && v == -1.0f) continue;
      ++inTile;
      for (float c : {u, v})
        if (!(std::isnan(c) || (c >= 0.0f && c <= 1.0f))) __builtin_trap();
    }
    // The face that named the tile has its first corner in it.
    if (inTile == 0) __builtin_trap();
    for (size_t p = file.size() - 16; p < file.size(); ++p)
      if (file[p] != 0) __builtin_trap();
  }
  return 0;
}
