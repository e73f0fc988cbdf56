// OBJ vertex count.
#pragma once

#include "FennickApi.h"

// Counts the lines that start with "v " (v and a space). The first line that
// holds "#Vertex Count" ends the count: an integer read (stream rules) from
// that line's text 14 characters after the marker's start replaces the
// count; without one the count so far stands.
//   result: the count; -1 when the file cannot be opened (null path too).
FENNICK_API float getVertexCount(const char* path);

namespace leanobj {
constexpr float kResultOpenFailed = -1.0f;
}
