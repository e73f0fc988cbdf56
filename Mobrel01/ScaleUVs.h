// Texture-coordinate scaling of OBJ files about the centre of the UV square,
// behind the ScaleUVs export (which checks the factor's range and the null
// paths first).
#pragma once

namespace scaleuvs {

// Copies the OBJ file at inPath to outPath, each number t of a "vt" line
// becoming t x factor + (1 - factor) / 2 (read as a float by the stream
// rule, computed in double, rounded to float, written as %g with one space
// after it; text after the numbers dropped). Other lines are copied
// unchanged; every line ends in one line feed.
//   0   copied
//   -1  the input cannot be opened
//   -3  the output names the input file (same file through another spelling
//       or a link): refused before anything is opened for writing
//   -2  the output cannot be opened for writing
//   -4  writing the output fell short (disk full); the file stays as written
//   -99 no memory
// A read failing part way gives -1 and leaves the output as far as it got.
float scaleUVFile(const char* inPath, const char* outPath, double factor) noexcept;

constexpr float kResultOpenFailed = -1.0f;
constexpr float kResultWriteOpenFailed = -2.0f;
constexpr float kResultSameFile = -3.0f;
constexpr float kResultWriteFailed = -4.0f;
// The export's own code: a factor below 0 or above 1.
constexpr float kResultFactorRange = -5.0f;

}  // namespace scaleuvs
