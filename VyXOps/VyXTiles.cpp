// UV tiles: the tiles of a VyX file's faces and the split into one VyX file
// per tile.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "TextOps.h"
#include "VyXOps.h"

std::vector<std::string> UVTileStr;

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

}  // namespace vyx

namespace {

constexpr size_t kUVRecord = 32;

float asFloat(const unsigned char* p) {
  uint32_t bits = vyx::u32le(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

uint64_t tileKey(int32_t u, int32_t v) { return uint64_t(uint32_t(u)) << 32 | uint32_t(v); }

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

// The UV block of a file read whole: its position and its record count.
struct UVBlock {
  const unsigned char* data = nullptr;
  size_t prefix = 0;  // bytes up to and including the UV block's header
  uint64_t count = 0;
  const unsigned char* records() const { return data + prefix; }
};

float findUVBlock(const textops::FileBytes& file, UVBlock& block) {
  uint32_t p = 0;
  if (!vyx::scanBuffer(file.data.get(), file.size, vyx::kTagUVs, file.size, p))
    return vyx::kResultNoBlock;
  block.data = file.data.get();
  block.prefix = size_t(p) + vyx::kBlockHeaderSize;
  block.count = vyx::u32le(block.data + p + 8);
  if (block.count * kUVRecord > file.size - block.prefix) return vyx::kResultPastEnd;
  return 0;
}

// The distinct tiles of the faces' first corners, in name order. Records
// repeating the previous record's tile (the usual case) cost no lookup, and
// only a new tile allocates.
std::vector<UV_tile> tileSet(const UVBlock& block, int32_t& lastU, int32_t& lastV) {
  std::set<uint64_t> keys;
  const unsigned char* r = block.records();
  bool any = false;
  for (uint64_t k = 0; k < block.count; ++k, r += kUVRecord) {
    int32_t u = vyx::tileIndexOf(asFloat(r)), v = vyx::tileIndexOf(asFloat(r + 4));
    if (any && u == lastU && v == lastV) continue;
    keys.insert(tileKey(u, v));
    lastU = u;
    lastV = v;
    any = true;
  }
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

inline void putF32(unsigned char* w, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  const unsigned char bytes[4] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16),
                                  uint8_t(bits >> 24)};
  std::memcpy(w, bytes, 4);
}

// One tile's file: the prefix as it stands, every UV pair moved into the
// unit square when it lies in the tile and (-1, -1) otherwise, 16 zero
// bytes. The pairs are transformed straight into the writer's buffer.
// 0 written; `failed` when the file cannot be created or written; -99.
float writeTileFile(const UVBlock& block, const UV_tile& tile, const char* path, float failed,
                    const fileops::OutputRules& rules) {
  fileops::Output output;
  if (fennick::Status status = fileops::openOutput(output, path, rules);
      status != fennick::Status::Ok) {
    return fennick::resultOf(status, {{fennick::Status::CreateFailed, failed}, {fennick::Status::OutputIsInput, vyx::kResultOutputIsInput}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
  }
  textops::OutFile& out = output.out;
  textops::put(out, block.data, block.prefix);
  UVTileStr.push_back(tile.tileName);
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
      float u = asFloat(r), v = asFloat(r + 4), lu = -1.0f, lv = -1.0f;
      if (vyx::tileIndexOf(u) == tileU && vyx::tileIndexOf(v) == tileV) {
        int32_t whole;
        lu = vyx::tileLocal(u, whole);
        lv = vyx::tileLocal(v, whole);
      }
      putF32(w, lu);
      putF32(w + 4, lv);
    }
    textops::advance(out, reinterpret_cast<char*>(w));
    pairs -= batch;
  }
  static const unsigned char kEnd[16] = {};
  textops::put(out, kEnd, sizeof kEnd);
  return fileops::closeOutput(output) ? 0.0f : failed;
}

std::string tilePath(const std::string& base, size_t k) {
  return base + std::to_string(k) + ".VyX";
}

// What a split must pass before its first file is written: no tile file may
// be the input, and a small input must not make an unbounded output (one
// file per tile, each about as large as the input). 0 when the split may go.
float checkSplit(const fileops::FileIdentity& input, const std::string& base,
                 const UVBlock& block, size_t tileCount) {
  if (tileCount > vyx::kMaxTileFiles) return vyx::kResultSplitTooLarge;
  for (size_t k = 0; k < tileCount; ++k) {
    if (fileops::namesInput(tilePath(base, k).c_str(), input)) return vyx::kResultOutputIsInput;
  }
  // Each file takes whole blocks and one file entry, and one more entry is
  // needed for the new file beside one being replaced. Files already there
  // that the split replaces are not counted as free: the check errs on the
  // safe side.
  fileops::FreeSpace space;
  if (!fileops::freeSpaceFor(tilePath(base, 0).c_str(), space)) return 0;
  const uint64_t perFile = uint64_t(block.prefix) + block.count * kUVRecord + 16;
  const uint64_t blocks = perFile / space.blockSize + (perFile % space.blockSize != 0);
  if (blocks * tileCount > space.bytes / space.blockSize) return vyx::kResultSplitTooLarge;
  if (space.filesKnown && uint64_t(tileCount) + 1 > space.files) return vyx::kResultSplitTooLarge;
  return 0;
}

}  // namespace

float GetUVTile(const char* vyxPath, char* name) noexcept {
  return fennick::guarded([&] {
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(vyxPath, file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultGroupOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    UVBlock block;
    float found = findUVBlock(file, block);
    if (found != 0) return found;
    int32_t lastU = 0, lastV = 0;
    std::vector<UV_tile> tiles = tileSet(block, lastU, lastV);
    if (name) {
      std::string last = block.count ? tileName(lastU, lastV) : std::string();
      std::memcpy(name, last.c_str(), last.size() + 1);
    }
    return float(tiles.size());
  });
}

float GetUVsFromVyX(const char* vyxPath, char* outputPath) noexcept {
  return fennick::guarded([&] {
    UVTileStr.clear();
    textops::FilePtr in = textops::openRead(vyxPath);
    const fileops::OneInput from(in.get());
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(in.get(), file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    UVBlock block;
    float found = findUVBlock(file, block);
    if (found != 0) return found;
    int32_t lastU = 0, lastV = 0;
    std::vector<UV_tile> tiles = tileSet(block, lastU, lastV);
    if (tiles.empty()) return 0.0f;
    if (!outputPath) return vyx::kResultTileFileBase + 1.0f;
    // The tile files go into the folder the output path names: only the
    // file name's extension is cut.
    const std::string base = fileops::withoutExtension(outputPath);
    const float refused = checkSplit(from.identity, base, block, tiles.size());
    if (refused != 0) return refused;
    for (size_t k = 0; k < tiles.size(); ++k) {
      const float written = writeTileFile(block, tiles[k], tilePath(base, k).c_str(),
                                          vyx::kResultTileFileBase + float(k + 1), from.rules);
      if (written != 0.0f) return written;
    }
    return float(tiles.size());
  });
}

void getUVTileString(int index, char* name) {
  if (!name || index < 0 || size_t(index) >= UVTileStr.size()) return;
  const std::string& s = UVTileStr[size_t(index)];
  std::memcpy(name, s.c_str(), s.size() + 1);
}

void clearUVTileString() { UVTileStr.clear(); }
