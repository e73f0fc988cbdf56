// OBJ vertex count: getVertexCount, declared with its results in
// FennickDLL.h.
#pragma once

namespace leanobj {
// The file cannot be opened or read (a null path too).
constexpr float kResultOpenFailed = -1.0f;
}  // namespace leanobj
