// Sculpt maps: a quad-grid OBJ mesh, laid out as a regular grid by its
// texture coordinates, written as a 24-bit bitmap whose pixels hold the
// corners' positions (red x, green y, blue z).
#pragma once

#include <cstddef>
#include <cstdint>

#include "Common.h"
#include "TextOps.h"

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

namespace sculpty {

constexpr int32_t kMaxSide = 2048;

// Zero bytes that end each row of a 24-bit bitmap `width` pixels wide:
// r = integer part of fmodf(width * 3, 4) in single precision; r 1 gives 3,
// 2 gives 2, 3 gives 1, anything else 0.
int rowPadding(int width);

// The conversion of the OBJ file at objPath into the bitmap at bmpPath
// (each quad a 2 x 2 pixel block; the image is (2U - 2) x (2V - 2) pixels
// for U distinct u and V distinct v values). A null path reads as a file
// that cannot be opened.
//   Ok           bitmap written
//   OpenFailed   the OBJ file cannot be opened or read
//   FaceCount    the face count is not (U - 1) x (V - 1)
//   TooLarge     width or height above kMaxSide
//   NotQuad      a face has other than four corners
//   BadIndex     a face's vertex or texture index lies outside the lists
//                read, or a corner has no texture index
//   OffCell      a face's corners, pulled onto one 2 x 2 block, put a pixel
//                outside the image (corners not around one UV cell with
//                corners 0 and 1 on one column; out-of-order faces that
//                stay inside are painted)
//   OutputIsInput the bitmap path names the OBJ file (the same path,
//                another spelling, a symbolic or a hard link): refused
//                before anything is read or written
//   CreateFailed the bitmap file cannot be opened for writing
//   WriteFailed  writing the bitmap fell short (disk full)
//   NoMemory     memory ran out (std::bad_alloc may also leave)
// Only Ok and WriteFailed touch the bitmap file, through the one output
// replacement.
fennick::Status exportSculptMap(const char* objPath, const char* bmpPath);

// The same conversion of OBJ text held in memory, the bitmap written to
// `out` (opened by the caller, left open); the same results but
// OutputIsInput, CreateFailed and WriteFailed, which belong to the output.
// Nothing is written on a failure.
fennick::Status writeSculptMap(const unsigned char* data, size_t size, textops::OutFile& out);

}  // namespace sculpty
