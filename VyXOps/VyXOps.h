// VyX binary mesh files: byte readers, the block scan and the vertex count.
//
// A VyX file is little-endian: a 32-byte file header (never examined), then
// blocks back to back. A block is tag (u32), size (u32, whole block incl.
// its 16-byte header; 0 stands for 16), count (u32), one unread word, then
// `count` records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FennickApi.h"

// ---- byte readers (least significant byte first; low 8 bits of each) -----

FENNICK_API unsigned int readUnInt(char b0, char b1, char b2, char b3);
FENNICK_API int readSignInt(char b0, char b1, char b2, char b3);
FENNICK_API float readaFloat(char b0, char b1, char b2, char b3);
FENNICK_API short readShort(char b0, char b1);
FENNICK_API int readanInt(char b0);

// Vertex count of the first vertex block (tag 10001) found by the block scan
// in the first n bytes of the file (limit n - 20). When the file is shorter
// than n, the missing bytes count as copies of its last byte (0 for an empty
// file); they are emulated, never allocated.
//   result: the count as float; -1760 file cannot be opened (null path too);
//           -18 no vertex block whose header starts before byte n - 20.
FENNICK_API float GetVertCountFromVyX(const char* path, int n);

// ---- face IDs and face groups ------------------------------------------

// Faces per face-ID heading of the next VyX to OBJ conversion: entry g is the
// number of consecutive faces written under heading g + 1. Filled by
// GetFaceIDsVyx, emptied by a successful writeOBJfromVyx.
FENNICK_API extern std::vector<uint32_t> faceID;

// Number of distinct values in the face group block (tag 40001, signed
// 16-bit values) found by the block scan over the whole file.
//   result: the count; -17 file cannot be opened (null path too); -18 no
//           group block; -19 the values run past the end of the file.
FENNICK_API float GetUVGroup(const char* path);

// Fills faceID with one entry per face of the block at offset 32, read as a
// face block whatever its tag: 3 * m for a triangle (fourth index negative as
// signed 32-bit), 4 * m for a quadrangle, m = 4^(level - 1) truncated to a
// 32-bit integer (NaN and values beyond the range give INT32_MIN).
//   result: the number of entries; -1760 file cannot be opened (null path
//           too); -19 the file is too short for the count or the faces.
//           faceID is empty after every failure.
FENNICK_API float GetFaceIDsVyx(const char* path, double level);

// ---- VyX to OBJ, vertex colours ----------------------------------------

// Writes the VyX file (vertex block at 32, colour block, face block, in that
// order) as an OBJ file: header lines, vertex lines (%g), the RGB comment
// block, and the faces under "#FaceID g" headings as faceID says.
//   result: 0 (faceID emptied); -18 faceID empty; -1760 VyX file cannot be
//           opened; -2 OBJ file cannot be created or written; the tag found
//           at 32, after the vertices or after the colours when it is not the
//           expected one; -20 that tag is 0; -19 a count, size or faceID
//           entry points past the end of the data; -21 the OBJ path names
//           the VyX file (by any spelling or link; nothing written). Output:
//           not created for a wrong first tag or a short vertex part; header and vertex lines
//           when the colour block is wrong or short; those and the colour
//           block when the face block is wrong or its faces run past the data.
//           faceID keeps its entries on every failure.
FENNICK_API float writeOBJfromVyx(const char* vyxPath, char* objPath);

// Writes the block at offset 32, read as vertex colours whatever its tag, as
// the RGB comment block of writeOBJfromVyx.
//   result: 0; -1760 VyX file cannot be opened; -2 text file cannot be
//           created or written; -19 the records run past the end of the data
//           (no file written); -21 the text path names the VyX file
//           (nothing written).
FENNICK_API float ReadVertColorVyx(const char* vyxPath, char* textPath);

// ---- UV tiles ----------------------------------------------------------

// One unit square of UV space: "_u<U>_v<V>" and its indices.
struct UV_tile {
  std::string tileName;
  int32_t tileU = 0;
  int32_t tileV = 0;
};

// Tile names of the output files of the last GetUVsFromVyX, in file order.
FENNICK_API extern std::vector<std::string> UVTileStr;

// Number of distinct tiles of the first corners of the UV block (tag 25001)
// found by the block scan; `name` receives the tile name of the last face
// ("" when the block is empty). Not written on failure or when null.
//   result: tile count; -17 file cannot be opened; -18 no UV block; -19 the
//           records run past the end of the data.
FENNICK_API float GetUVTile(const char* vyxPath, char* name);

// Writes one VyX file per tile, named <output path without extension><k>.VyX
// for tiles k = 0, 1, ... in name order: the input up to and including the
// UV block header, the UV pairs moved into the unit square when they lie in
// the tile and (-1, -1) otherwise, then 16 zero bytes. UVTileStr is emptied
// first and gets one name per file opened.
//   result: tile count; -1760 file cannot be opened; -18 no UV block; -19
//           the records run past the end of the data (no file written); -21
//           a tile file would be the VyX file itself; -22 more than 10,000
//           tiles, or files that together would not fit in the free space of
//           the output's file system (both: no file written);
//           1500 + k + 1 output file k cannot be created or written (earlier
//           files stay).
FENNICK_API float GetUVsFromVyX(const char* vyxPath, char* outputPath);

// Copies UVTileStr[index] into `name`; nothing happens when the list is
// empty, the index lies outside it or `name` is null.
FENNICK_API void getUVTileString(int index, char* name);
FENNICK_API void clearUVTileString();

// ---- file merge ----------------------------------------------------------

// Rewrites `targetPath` as its content without its last 14 bytes followed by
// the content of `appendPath` without its last 14 bytes (a file of fewer
// than 14 bytes contributes nothing). The new content is written beside the
// target and renamed over it, so a failed write never loses the target.
//   result: 0; -2760 target cannot be read; -1760 file to append cannot be
//           read; -3760 target cannot be written (target unchanged).
FENNICK_API float mergeFiles(const char* appendPath, char* targetPath);

namespace vyx {

constexpr uint32_t kTagVertices = 10001;
constexpr uint32_t kTagFaces = 20001;
constexpr uint32_t kTagUVs = 25001;
constexpr uint32_t kTagColours = 35001;
constexpr uint32_t kTagGroups = 40001;

constexpr uint32_t kFileHeaderSize = 32;
constexpr uint32_t kBlockHeaderSize = 16;

constexpr float kResultOpenFailed = -1760.0f;
constexpr float kResultNoBlock = -18.0f;
// A count, size or faceID entry points past the end of the data.
constexpr float kResultPastEnd = -19.0f;
// The OBJ conversion found a block tag of 0 where a block was expected.
constexpr float kResultZeroTag = -20.0f;
// The output names the input file (the same path, another spelling, a
// symbolic or a hard link): refused before anything is opened for writing.
constexpr float kResultOutputIsInput = -21.0f;
// A UV split of more than kMaxTileFiles tiles, or one whose files together
// would not fit in the free space of the output's file system: refused
// before any tile file is written.
constexpr float kResultSplitTooLarge = -22.0f;
constexpr size_t kMaxTileFiles = 10000;
constexpr float kResultGroupOpenFailed = -17.0f;
constexpr float kResultCreateFailed = -2.0f;
constexpr float kResultTargetReadFailed = -2760.0f;
constexpr float kResultTargetWriteFailed = -3760.0f;
constexpr float kResultTileFileBase = 1500.0f;

// Tile index of one UV coordinate in single precision: c truncated when
// c >= 0 (NaN too), c - 1 truncated otherwise; a truncation outside the
// 32-bit range (or of a NaN) gives INT32_MIN.
int32_t tileIndexOf(float c);

// The split's rule for one coordinate: a = c (c >= 0) or c - 1, split by
// modff; `whole` is the integer part as tileIndexOf converts it, the result
// the fractional part, plus 1 when it is negative.
float tileLocal(float c, int32_t& whole);

inline uint32_t u32le(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
         uint32_t(p[3]) << 24;
}

// Reads the 16-byte block header at `pos` into `header`; false when the
// header does not lie within the data.
using HeaderReader = bool (*)(const void* context, uint64_t pos,
                              unsigned char header[16]);

// The block scan: from position 32, look for `tag` among positions below
// `limit`, stepping by each block's size (16 for a size of 0), positions as
// unsigned 32-bit values. A header past the data or a step that does not
// move forward ends the scan. Returns true and the position when found.
bool scanBlocks(HeaderReader read, const void* context, uint32_t tag,
                uint64_t limit, uint32_t& foundAt);

// The scan over bytes held in memory.
bool scanBuffer(const unsigned char* data, size_t size, uint32_t tag,
                uint64_t limit, uint32_t& foundAt);

}  // namespace vyx
