// UV tiles: the tiles of a VyX file's faces and the split into one VyX file
// per tile.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "FileOps.h"
#include "LittleEndian.h"
#include "VyXOps.h"

namespace vyx {

float tileLocal(float c, int32_t& whole) {
  float a = c >= 0 ? c : c - 1.0f;
  // modff: integer part and fraction, both with the sign of a.
  float intPart, frac;
  if (std::fabs(a) < 8388608.0f) {  // below 2^23 a may have a fraction
    intPart = static_cast<float>(static_cast<int32_t>(a));
    frac = std::copysign(a - intPart, a);
  } else if (std::isnan(a)) {
    intPart = frac = a;
  } else {  // a whole number, or an infinity
    intPart = a;
    frac = std::copysign(0.0f, a);
  }
  whole = fennick::toInt32Truncated(intPart);
  return frac < 0 ? frac + 1.0f : frac;
}

int32_t tileIndexOf(float c) {
  float a = c >= 0 ? c : c - 1.0f;
  // Truncation, as tileLocal's integer part converts: every float below 2^31
  // in magnitude truncates into the range; NaN, infinities and the rest give
  // INT32_MIN.
  if (std::fabs(a) < 2147483648.0f) return static_cast<int32_t>(a);
  return INT32_MIN;
}


namespace {

constexpr size_t kUVRecord = 32;

uint64_t tileKey(int32_t u, int32_t v) { return uint64_t(uint32_t(u)) << 32 | uint32_t(v); }

std::string tilePath(const std::string& base, size_t k) {
  return base + std::to_string(k) + ".VyX";
}

// What a split must pass before its first file is written: no tile file may
// be the input, and a small input must not make an unbounded output (one
// file per tile, each about as large as the input).
fennick::Status checkSplit(const fileops::FileIdentity& input, const std::string& base,
                           const UVBlock& block, size_t tileCount) {
  using fennick::Status;
  if (tileCount > kMaxTileFiles) return Status::TooLarge;
  for (size_t k = 0; k < tileCount; ++k) {
    if (fileops::namesInput(tilePath(base, k).c_str(), input)) return Status::OutputIsInput;
  }
  // Each file takes whole blocks and one file entry, and one more entry is
  // needed for the new file beside one being replaced. Files already there
  // that the split replaces are not counted as free: the check errs on the
  // safe side.
  fileops::FreeSpace space;
  if (!fileops::freeSpaceFor(tilePath(base, 0).c_str(), space)) return Status::Ok;
  const uint64_t perFile = uint64_t(block.prefix) + block.count * kUVRecord + 16;
  const uint64_t blocks = perFile / space.blockSize + (perFile % space.blockSize != 0);
  if (blocks * tileCount > space.bytes / space.blockSize) return Status::TooLarge;
  if (space.filesKnown && uint64_t(tileCount) + 1 > space.files) return Status::TooLarge;
  return Status::Ok;
}

}  // namespace

std::string tileName(int32_t u, int32_t v) {
  char text[2 * textops::kMaxNumberText + 4];
  char* w = text;
  *w++ = '_';
  *w++ = 'u';
  w += textops::formatInt(u, w);
  *w++ = '_';
  *w++ = 'v';
  w += textops::formatInt(v, w);
  return std::string(text, size_t(w - text));
}

fennick::Status uvBlock(const unsigned char* data, size_t size, UVBlock& block) {
  uint32_t p = 0;
  if (!scanBuffer(data, size, kTagUVs, size, p)) return fennick::Status::NoBlock;
  block.data = data;
  block.prefix = size_t(p) + kBlockHeaderSize;
  block.count = le::loadU32(data + p + 8);
  if (block.count * kUVRecord > size - block.prefix) return fennick::Status::PastEnd;
  return fennick::Status::Ok;
}

// Records repeating the previous record's tile (the usual case) cost no
// lookup, and only a new tile allocates.
std::vector<UV_tile> tileSet(const UVBlock& block, std::string* lastName) {
  std::set<uint64_t> keys;
  const unsigned char* r = block.records();
  bool any = false;
  int32_t lastU = 0, lastV = 0;
  for (uint64_t k = 0; k < block.count; ++k, r += kUVRecord) {
    int32_t u = tileIndexOf(le::loadF32(r)), v = tileIndexOf(le::loadF32(r + 4));
    if (any && u == lastU && v == lastV) continue;
    keys.insert(tileKey(u, v));
    lastU = u;
    lastV = v;
    any = true;
  }
  if (lastName) *lastName = any ? tileName(lastU, lastV) : std::string();
  std::vector<UV_tile> tiles;
  tiles.reserve(keys.size());
  for (uint64_t key : keys) {
    UV_tile t;
    t.tileU = int32_t(uint32_t(key >> 32));
    t.tileV = int32_t(uint32_t(key));
    t.tileName = tileName(t.tileU, t.tileV);
    tiles.push_back(std::move(t));
  }
  std::sort(tiles.begin(), tiles.end(),
            [](const UV_tile& a, const UV_tile& b) { return a.tileName < b.tileName; });
  return tiles;
}

// The pairs are transformed straight into the writer's buffer.
void putTile(const UVBlock& block, const UV_tile& tile, textops::OutFile& out) {
  textops::put(out, block.data, block.prefix);
  const unsigned char* r = block.records();
  uint64_t pairs = block.count * 4;
  // Locals: the byte stores below could otherwise alias them.
  const int32_t tileU = tile.tileU, tileV = tile.tileV;
  while (pairs > 0) {
    unsigned char* w = reinterpret_cast<unsigned char*>(textops::room(out, 8));
    const size_t fit = textops::roomLeft(out) / 8;
    const size_t batch = pairs < fit ? size_t(pairs) : fit;
    for (size_t i = 0; i < batch; ++i, r += 8, w += 8) {
      // Most pairs lie outside the tile: their u index alone tells.
      float u = le::loadF32(r), v = le::loadF32(r + 4), lu = -1.0f, lv = -1.0f;
      if (tileIndexOf(u) == tileU && tileIndexOf(v) == tileV) {
        int32_t whole;
        lu = tileLocal(u, whole);
        lv = tileLocal(v, whole);
      }
      le::storeF32(w, lu);
      le::storeF32(w + 4, lv);
    }
    textops::advance(out, reinterpret_cast<char*>(w));
    pairs -= batch;
  }
  static const unsigned char kEnd[16] = {};
  textops::put(out, kEnd, sizeof kEnd);
}

fennick::Status tileCountOfFile(const char* path, size_t& count, std::string& lastName) {
  textops::FileBytes file;
  if (fennick::Status status = textops::readWholeFile(path, file); status != fennick::Status::Ok)
    return status;
  UVBlock block;
  if (fennick::Status status = uvBlock(file.data.get(), file.size, block);
      status != fennick::Status::Ok)
    return status;
  count = tileSet(block, &lastName).size();
  return fennick::Status::Ok;
}

fennick::Status splitTiles(const char* vyxPath, const char* outputPath,
                           std::vector<std::string>& names, SplitResult& result) {
  using fennick::Status;
  names.clear();
  textops::FilePtr in = textops::openRead(vyxPath);
  const fileops::OneInput from(in.get());
  textops::FileBytes file;
  if (Status status = textops::readWholeFile(in.get(), file); status != Status::Ok)
    return status;
  UVBlock block;
  if (Status status = uvBlock(file.data.get(), file.size, block); status != Status::Ok)
    return status;
  const std::vector<UV_tile> tiles = tileSet(block);
  result.count = tiles.size();
  if (tiles.empty()) return Status::Ok;
  if (!outputPath) {
    result.failedFile = 0;
    return Status::CreateFailed;
  }
  // The tile files go into the folder the output path names: only the file
  // name's extension is cut.
  const std::string base = fileops::withoutExtension(outputPath);
  if (Status refused = checkSplit(from.identity, base, block, tiles.size());
      refused != Status::Ok)
    return refused;
  for (size_t k = 0; k < tiles.size(); ++k) {
    result.failedFile = k;
    fileops::Output output;
    if (Status status = fileops::openOutput(output, tilePath(base, k).c_str(), from.rules);
        status != Status::Ok)
      return status;
    names.push_back(tiles[k].tileName);
    putTile(block, tiles[k], output.out);
    if (!fileops::closeOutput(output)) return Status::CreateFailed;
  }
  return Status::Ok;
}

}  // namespace vyx
