// VyX conversions: face IDs and face groups, VyX to OBJ, vertex colours, UV
// tiles and the tile split, file merge. Each parser works on the bytes of a
// whole file and each writer writes to an OutFile; the functions that take
// paths read the input, refuse an output that names it, and write through
// fileops::openOutput and closeOutput. The vertex count, which both
// editions carry, is in VyXCore.h.
//
// Functions here may throw std::bad_alloc; every other failure is a Status.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Common.h"
#include "TextOps.h"
#include "VyXCore.h"

// One unit square of UV space: "_u<U>_v<V>" and its indices.
struct UV_tile {
  std::string tileName;
  int32_t tileU = 0;
  int32_t tileV = 0;
};

namespace vyx {

// ---- face groups and face IDs ---------------------------------------------

// Number of distinct values of the face group block (tag 40001, 16-bit
// values) the block scan finds over the whole data. NoBlock; PastEnd when
// the values run past the end.
fennick::Status groupCount(const unsigned char* data, size_t size, uint32_t& distinct);
// The same for a file (OpenFailed when it cannot be read).
fennick::Status groupCountOfFile(const char* path, uint32_t& distinct);

// Faces per face-ID heading: one entry per face of the block at offset 32,
// read as a face block whatever its tag: 3 * m for a triangle (fourth index
// negative), 4 * m for a quadrangle, m = 4^(level - 1) truncated to 32 bits
// (products wrap). `ids` is emptied first and stays empty on a failure.
// PastEnd when the data is too short for the count or the faces.
fennick::Status faceIDs(const unsigned char* data, size_t size, double level,
                        std::vector<uint32_t>& ids);
fennick::Status faceIDsOfFile(const char* path, double level, std::vector<uint32_t>& ids);

// ---- VyX to OBJ, vertex colours ---------------------------------------------

// Where a wrong block tag was met (WrongTag: `tag` is it, never 0; a tag of 0
// is ZeroTag).
struct TagFound {
  uint32_t tag = 0;
};

// The fields of a VyX file checked before an OBJ file is opened: the vertex
// block at 32 and the sizes that lead to the face count.
struct ObjHead {
  const unsigned char* data = nullptr;
  size_t size = 0;
  uint64_t vertices = 0;
  uint32_t faces = 0;
};
fennick::Status objHead(const unsigned char* data, size_t size, ObjHead& head, TagFound& found);

// Writes the OBJ text of a file objHead accepted: header lines, vertex
// lines, the RGB block of the colour block after the vertices, and the
// faces of the face block after it under "#FaceID g" headings, heading g
// taking ids[g - 1] faces. A failure after the first byte leaves `out`
// partly written (PastEnd, WrongTag, ZeroTag).
fennick::Status putObj(const ObjHead& head, const std::vector<uint32_t>& ids,
                       textops::OutFile& out, TagFound& found);

// NoFaceIDs (nothing read), then the file's OpenFailed, OutputIsInput,
// objHead's failures (nothing opened), CreateFailed, putObj's failures (the
// OBJ file as it was). Empties `ids` when the OBJ file was written.
fennick::Status writeObj(const char* vyxPath, const char* objPath, std::vector<uint32_t>& ids,
                         TagFound& found);

// The colour block at offset 32, read as vertex colours whatever its tag:
// PastEnd when the records run past the end of the data.
struct ColourBlock {
  const unsigned char* records = nullptr;
  uint64_t count = 0;
};
fennick::Status colourBlock(const unsigned char* data, size_t size, ColourBlock& block);
// The RGB comment block of `count` records (blue, green, red, unused).
void putColours(const ColourBlock& block, textops::OutFile& out);
fennick::Status writeColours(const char* vyxPath, const char* textPath);

// ---- UV tiles -----------------------------------------------------------------

// Tile index of one UV coordinate in single precision: c truncated when
// c >= 0 (NaN too), c - 1 truncated otherwise; a truncation outside the
// 32-bit range (or of a NaN) gives INT32_MIN.
int32_t tileIndexOf(float c);

// The split's rule for one coordinate: a = c (c >= 0) or c - 1, split by
// modff; `whole` is the integer part as tileIndexOf converts it, the result
// the fractional part, plus 1 when it is negative.
float tileLocal(float c, int32_t& whole);

std::string tileName(int32_t u, int32_t v);

// The UV block (tag 25001) the block scan finds: NoBlock; PastEnd when its
// records (32 bytes each) run past the end of the data.
struct UVBlock {
  const unsigned char* data = nullptr;
  size_t prefix = 0;  // bytes up to and including the UV block's header
  uint64_t count = 0;
  const unsigned char* records() const { return data + prefix; }
};
fennick::Status uvBlock(const unsigned char* data, size_t size, UVBlock& block);

// The distinct tiles of the faces' first corners, in name order, and the
// last face's tile name ("" for an empty block).
std::vector<UV_tile> tileSet(const UVBlock& block, std::string* lastName = nullptr);

// One tile's file: the prefix as it stands, every UV pair moved into the
// unit square when it lies in the tile and (-1, -1) otherwise, 16 zero
// bytes.
void putTile(const UVBlock& block, const UV_tile& tile, textops::OutFile& out);

// Tile count of a file's UV block; `lastName` as tileSet gives it.
fennick::Status tileCountOfFile(const char* path, size_t& count, std::string& lastName);

constexpr size_t kMaxTileFiles = 10000;

// The split of a file into one VyX file per tile: <output path without the
// extension of its file name><k>.VyX for tiles k = 0, 1, ... in name order.
// `names` is emptied first and gets one name per file opened; `count` is the
// number of tiles. OpenFailed, uvBlock's failures, TooLarge (more than
// kMaxTileFiles tiles or more than the free space: nothing written),
// OutputIsInput (a tile file would be the input: nothing written), NoMemory;
// CreateFailed with `failedFile` k when tile file k cannot be created or
// written (a null output path: file 0).
struct SplitResult {
  size_t count = 0;
  size_t failedFile = 0;
};
fennick::Status splitTiles(const char* vyxPath, const char* outputPath,
                           std::vector<std::string>& names, SplitResult& result);

// ---- merge ----------------------------------------------------------------

// What a merged file holds: the target without its last 14 bytes, then the
// addition without its last 14 bytes.
constexpr size_t kMergeTail = 14;
inline size_t withoutTail(size_t size) { return size > kMergeTail ? size - kMergeTail : 0; }
void putMerged(const unsigned char* target, size_t targetSize, const unsigned char* addition,
               size_t additionSize, textops::OutFile& out);

// Rewrites the target as putMerged gives it, beside the target or (where the
// folder takes no new file or the target has further links) in place.
// TargetReadFailed, OpenFailed (the addition), NoMemory, TargetWriteFailed.
fennick::Status mergeFiles(const char* appendPath, const char* targetPath);

}  // namespace vyx
