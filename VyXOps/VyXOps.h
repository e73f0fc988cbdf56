// VyX reading: what the module's files share behind the functions it
// defines for FennickDLL's table (byte readers, vertex count, face IDs and
// groups, VyX to OBJ, vertex colours, UV tiles, file merge), which
// FennickDLL.h declares with their results.
//
// A VyX file is little-endian: a 32-byte file header (never examined), then
// blocks back to back. A block is tag (u32), size (u32, whole block incl.
// its 16-byte header; 0 stands for 16), count (u32), one unread word, then
// `count` records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One unit square of UV space: "_u<U>_v<V>" and its indices.
struct UV_tile {
  std::string tileName;
  int32_t tileU = 0;
  int32_t tileV = 0;
};

namespace vyx {

constexpr uint32_t kTagVertices = 10001;
constexpr uint32_t kTagFaces = 20001;
constexpr uint32_t kTagUVs = 25001;
constexpr uint32_t kTagColours = 35001;
constexpr uint32_t kTagGroups = 40001;

constexpr uint32_t kFileHeaderSize = 32;
constexpr uint32_t kBlockHeaderSize = 16;

// ---- result codes (FennickDLL.h lists each function's) --------------------

// The VyX file cannot be opened or read (mergeFiles: the file to append).
constexpr float kResultOpenFailed = -1760.0f;
// GetUVGroup, GetUVTile: the VyX file cannot be opened or read.
constexpr float kResultGroupOpenFailed = -17.0f;
// The block scan found no block of the tag asked for.
constexpr float kResultNoBlock = -18.0f;
// writeOBJfromVyx: faceID holds no entries.
constexpr float kResultNoFaceIDs = -18.0f;
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
// writeOBJfromVyx, ReadVertColorVyx: the output cannot be created or written.
constexpr float kResultCreateFailed = -2.0f;
// mergeFiles: the target cannot be read; the target cannot be written.
constexpr float kResultTargetReadFailed = -2760.0f;
constexpr float kResultTargetWriteFailed = -3760.0f;
// GetUVsFromVyX: tile file k cannot be created or written gives this + k + 1.
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
