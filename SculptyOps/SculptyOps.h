// Sculpt maps: a quad-grid OBJ mesh, laid out as a regular grid by its
// texture coordinates, written as a 24-bit bitmap whose pixels hold the
// corners' positions (red x, green y, blue z). The records and result codes
// of the conversion; getPadding and exportSculpty, with their results, are
// declared in FennickDLL.h.
#pragma once

#include <cstdint>

// One "v " line.
struct floatVertex {
  float x, y, z;
};
// Pixel position of a texture coordinate: twice the ranks of its u and v.
struct txtI {
  int32_t column, row;
};
// Encoded position of one vertex, each channel 0..255.
struct rgbVertex {
  int32_t red, green, blue;
};

// ---- result codes of exportSculpty (and OBJtoSculpty) ----------------------
//   0      bitmap written
//   -1     the OBJ file cannot be opened
//   -64    the face count is not (U - 1) x (V - 1)
//   -2048  width or height above 2048
//   -65    a face has other than four corners
//   -66    a face's vertex or texture index lies outside the lists read, or a
//          corner has no texture index
//   -67    a face's corners, pulled onto one 2 x 2 block, put a pixel outside
//          the image (corners not around one UV cell with corners 0 and 1
//          on one column; out-of-order faces that stay inside are painted)
//   -69    the bitmap path names the OBJ file (the same path, another
//          spelling, a symbolic or a hard link): refused before anything is
//          read or written
//   -4     the bitmap file cannot be opened for writing
//   -68    writing the bitmap fell short (disk full); the file stays as written
//   -99    no memory
// Failures other than -68 leave no bitmap file behind.

namespace sculpty {
constexpr float kResultOpenFailed = -1.0f;
constexpr float kResultFaceCount = -64.0f;
constexpr float kResultTooLarge = -2048.0f;
constexpr float kResultNotQuad = -65.0f;
constexpr float kResultBadIndex = -66.0f;
constexpr float kResultOffCell = -67.0f;
constexpr float kResultWriteOpenFailed = -4.0f;
constexpr float kResultWriteFailed = -68.0f;
constexpr float kResultOutputIsInput = -69.0f;
constexpr int32_t kMaxSide = 2048;
}  // namespace sculpty
