// VyX binary mesh files: byte readers, the block scan and the vertex count.
//
// A VyX file is little-endian: a 32-byte file header (never examined), then
// blocks back to back. A block is tag (u32), size (u32, whole block incl.
// its 16-byte header; 0 stands for 16), count (u32), one unread word, then
// `count` records.
#pragma once

#include <cstddef>
#include <cstdint>

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
