#include "SculptyOps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "SculptyReader.h"
#include "TextOps.h"

namespace {

// (width x height) / 4 == faces, with width = 2U - 2 and height = 2V - 2,
// decided without overflow: with U, V >= 1 the quotient is (U-1)(V-1); with
// no texture coordinates at all both sides are -2 and the quotient is 1.
bool faceCountMatches(size_t u, size_t v, size_t faces) {
  if (u == 0 || v == 0) return faces == 1;
  size_t a = u - 1, b = v - 1;
  if (a == 0 || b == 0) return faces == 0;
  return faces % a == 0 && faces / a == b;
}

// 127.5 + s x c: single-precision product, double-precision sum, truncated.
// A scale too large for a float (a tiny largest coordinate) is taken in
// double precision instead; the clamp only keeps the cast defined.
struct Encoder {
  float scale = 0.0f;
  double wideScale = 0.0;
  bool wide = false;
  explicit Encoder(float largestAbs) {
    if (largestAbs > 0.0f) {
      scale = 127.5f / largestAbs;
      wideScale = 127.5 / double(largestAbs);
      wide = std::isinf(scale);
    }
  }
  int32_t operator()(float c) const {
    double d = wide ? 127.5 + wideScale * double(c) : 127.5 + double(scale * c);
    if (!(d >= 0.0)) d = 0.0;
    if (d > 255.0) d = 255.0;
    return int32_t(d);
  }
};

inline unsigned char* put16(unsigned char* at, uint32_t value) {
  at[0] = uint8_t(value);
  at[1] = uint8_t(value >> 8);
  return at + 2;
}
inline unsigned char* put32(unsigned char* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
  return at + 4;
}

}  // namespace

int getPadding(int width) {
  int r = int(std::fmod(float(width) * 3.0f, 4.0f));
  switch (r) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
  }
}

float exportSculpty(const char* objPath, const char* bmpPath, bool flag) {
  (void)flag;  // kept for callers; it changes nothing
  textops::FilePtr file = textops::openRead(objPath);
  if (!file) return sculpty::kResultOpenFailed;
  sculpty::Mesh mesh;
  // Room for the lists by the file's size (no line is shorter than 16
  // bytes in a grid file): only address space until used, and it spares the
  // copies of growing. Capped so that a huge file reserves nothing absurd.
  const int64_t size = textops::fileSize(file.get());
  if (size > 0) {
    const size_t guess = size_t(std::min<int64_t>(size / 16, int64_t(1) << 24));
    mesh.vertices.reserve(guess);
    mesh.texIds.reserve(guess);
    mesh.faces.reserve(guess);
  }
  textops::LineBlockReader reader;
  if (!textops::initLineReader(reader, file.get())) return fennick::kResultNoMemory;
  const char* begin;
  const char* end;
  while (textops::nextLineBlock(reader, begin, end)) sculpty::readObjLines(mesh, begin, end);
  if (reader.failed) return fennick::kResultNoMemory;
  reader = textops::LineBlockReader();
  file.reset();

  const size_t u = mesh.us.count(), v = mesh.vs.count();
  if (!faceCountMatches(u, v, mesh.faces.size())) return sculpty::kResultFaceCount;
  if (u > size_t(sculpty::kMaxSide) / 2 + 1 || v > size_t(sculpty::kMaxSide) / 2 + 1)
    return sculpty::kResultTooLarge;
  const int32_t width = 2 * int32_t(u) - 2;
  const int32_t height = 2 * int32_t(v) - 2;

  // Pixel positions of the texture coordinates, in place of their value ids.
  {
    const std::vector<int32_t> rankU = mesh.us.ranksById(), rankV = mesh.vs.ranksById();
    for (txtI& t : mesh.texIds) t = {2 * rankU[size_t(t.column)], 2 * rankV[size_t(t.row)]};
  }
  const std::vector<txtI>& positions = mesh.texIds;

  // Colours of the vertices, blue | green << 8 | red << 16: one scale for
  // all axes, the origin at 127.
  float largestAbs = mesh.largest;
  if (mesh.smallest < 0.0f && -mesh.smallest >= mesh.largest) largestAbs = -mesh.smallest;
  const Encoder encode(largestAbs);
  std::vector<uint32_t> colours;
  colours.reserve(mesh.vertices.size());
  for (const floatVertex& p : mesh.vertices)
    colours.push_back(uint32_t(encode(p.z)) | uint32_t(encode(p.y)) << 8 |
                      uint32_t(encode(p.x)) << 16);

  // The bitmap, header and rows, built whole: each pixel keeps the last
  // colour painted on it (the three 8-bit channels are the low bytes of the
  // channel planes, which hold 0..255), unpainted pixels and row padding 0.
  const uint32_t rowBytes = width > 0 ? 3 * uint32_t(width) + uint32_t(getPadding(width)) : 0;
  const uint32_t imageBytes = height > 0 ? rowBytes * uint32_t(height) : 0;
  std::vector<unsigned char> bitmap(54 + size_t(imageBytes));
  unsigned char* at = bitmap.data();
  *at++ = 'B';
  *at++ = 'M';
  at = put32(at, 54 + imageBytes);
  at = put32(at, 0);
  at = put32(at, 54);
  at = put32(at, 40);
  at = put32(at, uint32_t(width));
  at = put32(at, uint32_t(height));
  at = put16(at, 1);
  at = put16(at, 24);
  at = put32(at, 0);
  at = put32(at, imageBytes);  // resolutions and colour counts stay 0
  unsigned char* const pixels = bitmap.data() + 54;

  // Painting: each quad's corners pulled onto one 2 x 2 block; a later face
  // overwrites. Every face is checked before its pixels are touched.
  const size_t vertexCount = mesh.vertices.size();
  const size_t texCount = positions.size();
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    if (f == mesh.firstNonQuad) return sculpty::kResultNotQuad;
    const sculpty::QuadFace& face = mesh.faces[f];
    int32_t column[4], row[4];
    for (int c = 0; c < 4; ++c) {
      int32_t t = face.texture[c], vx = face.vertex[c];
      if (t < 0 || size_t(t) >= texCount || vx < 0 || size_t(vx) >= vertexCount)
        return sculpty::kResultBadIndex;
      column[c] = positions[size_t(t)].column;
      row[c] = positions[size_t(t)].row;
    }
    if (row[0] >= row[1]) --row[0]; else --row[1];
    if (row[3] >= row[2]) --row[3]; else --row[2];
    if (column[0] >= column[3]) --column[0]; else --column[3];
    if (column[1] >= column[2]) --column[1]; else --column[2];
    for (int c = 0; c < 4; ++c)
      if (column[c] < 0 || column[c] >= width || row[c] < 0 || row[c] >= height)
        return sculpty::kResultOffCell;
    for (int c = 0; c < 4; ++c) {
      unsigned char* pixel = pixels + size_t(row[c]) * rowBytes + 3 * size_t(column[c]);
      const uint32_t colour = colours[size_t(face.vertex[c])];
      pixel[0] = uint8_t(colour);
      pixel[1] = uint8_t(colour >> 8);
      pixel[2] = uint8_t(colour >> 16);
    }
  }

  // Rows bottom-up (row 0 first), blue-green-red, padded to 4 bytes.
  textops::FilePtr out = textops::openWriteRaw(bmpPath);
  if (!out) return sculpty::kResultWriteOpenFailed;
  bool written = std::fwrite(bitmap.data(), 1, bitmap.size(), out.get()) == bitmap.size();
  if (std::fclose(out.release()) != 0) written = false;
  return written ? 0.0f : sculpty::kResultWriteFailed;
}
