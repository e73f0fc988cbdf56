// VyX block scan and vertex count: what both editions read of a VyX file.
//
// A VyX file is little-endian: a 32-byte file header (never examined), then
// blocks back to back. A block is tag (u32), size (u32, whole block incl.
// its 16-byte header; 0 stands for 16), count (u32), one unread word, then
// `count` records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Common.h"

namespace vyx {

constexpr uint32_t kTagVertices = 10001;
constexpr uint32_t kTagFaces = 20001;
constexpr uint32_t kTagUVs = 25001;
constexpr uint32_t kTagColours = 35001;
constexpr uint32_t kTagGroups = 40001;

constexpr uint32_t kFileHeaderSize = 32;
constexpr uint32_t kBlockHeaderSize = 16;

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

// Vertex count of the first vertex block the block scan finds in the first
// n bytes (headers before byte n - 20; n <= 0 reads nothing). Data shorter
// than n reads as padded with copies of its last byte. NoBlock when there
// is none.
fennick::Status vertexCount(const unsigned char* data, size_t size, int n, uint32_t& count);
// The same for a file, of which only the headers the scan visits are read.
// OpenFailed when it cannot be opened or a read fails.
fennick::Status vertexCountOfFile(const char* path, int n, uint32_t& count) noexcept;

}  // namespace vyx
