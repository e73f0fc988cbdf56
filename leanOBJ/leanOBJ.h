// OBJ vertex count: the lines that start with "v " (v and a space), unless
// a "#Vertex Count" marker states the count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Common.h"

namespace leanobj {

// The count over the text [data, data + size): the "v " lines; the first
// line that holds "#Vertex Count" ends the count, and an integer read
// (stream rules) from that line's text 14 characters after the marker's
// start replaces it (without one the count so far stands). The sum wraps
// at 32 bits.
int32_t countVertices(const unsigned char* data, size_t size) noexcept;

// The same for the OBJ file at `path`, read in line blocks.
//   Ok          `count` holds the count
//   OpenFailed  the file cannot be opened or read (a null path too)
//   NoMemory    no memory for the read buffer
fennick::Status countVertices(const char* path, int32_t& count) noexcept;

}  // namespace leanobj
