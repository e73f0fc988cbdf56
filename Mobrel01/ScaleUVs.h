// Texture-coordinate scaling of OBJ files about the centre of the UV square,
// behind the ScaleUVs export (which checks the factor's range and the null
// paths first).
#pragma once

#include <cstddef>

#include "Common.h"
#include "TextOps.h"

namespace scaleuvs {

// Writes the OBJ text [data, data + size) to `out`, each number t of a "vt"
// line becoming t x factor + (1 - factor) / 2 (read as a float by the
// stream rule, computed in double, rounded to float, written as %g with one
// space after it; text after the numbers dropped). Other lines are copied
// unchanged; every line ends in one line feed.
void scaleUVText(const unsigned char* data, size_t size, double factor, textops::OutFile& out);

// The same from the OBJ file at inPath to outPath, through the one output
// replacement.
//   Ok            copied
//   OpenFailed    the input cannot be opened, or a read failed part way
//                 (the output then stays as it was)
//   OutputIsInput the output names the input file (same file through
//                 another spelling or a link): refused before anything is
//                 opened for writing
//   CreateFailed  the output cannot be opened for writing
//   WriteFailed   writing the output fell short (disk full)
//   NoMemory      memory ran out (the output stays as it was)
fennick::Status scaleUVFile(const char* inPath, const char* outPath, double factor) noexcept;

}  // namespace scaleuvs
