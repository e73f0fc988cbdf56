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

// What painting needs: the pixel position of every texture coordinate
// (the mesh's list, turned into positions in place), the colour of every
// vertex, and the bitmap, header and rows. Each pixel keeps the last colour
// painted on it; unpainted pixels and row padding stay 0. (The channel
// planes that this stands for hold 0..255, so their low bytes, which the
// bitmap stores, are their values.)
struct Canvas {
  const txtI* positions = nullptr;
  size_t texCount = 0;
  std::vector<uint32_t> colours;  // blue | green << 8 | red << 16
  int32_t width = 0, height = 0;
  uint32_t rowBytes = 0;
  std::vector<unsigned char> bitmap;
};

bool withinLimits(const sculpty::Mesh& mesh) {
  const size_t most = size_t(sculpty::kMaxSide) / 2 + 1;
  return mesh.us.count() <= most && mesh.vs.count() <= most;
}

// Needs the image within its limits; the mesh's vertex and texture lists
// must not change afterwards.
void prepareCanvas(sculpty::Mesh& mesh, Canvas& canvas) {
  canvas.width = 2 * int32_t(mesh.us.count()) - 2;
  canvas.height = 2 * int32_t(mesh.vs.count()) - 2;

  // Pixel positions of the texture coordinates, in place of their value ids.
  const std::vector<int32_t> rankU = mesh.us.ranksById(), rankV = mesh.vs.ranksById();
  for (txtI& t : mesh.texIds) t = {2 * rankU[size_t(t.column)], 2 * rankV[size_t(t.row)]};
  canvas.positions = mesh.texIds.data();
  canvas.texCount = mesh.texIds.size();

  // Colours of the vertices: one scale for all axes, the origin at 127.
  float largestAbs = mesh.largest;
  if (mesh.smallest < 0.0f && -mesh.smallest >= mesh.largest) largestAbs = -mesh.smallest;
  const Encoder encode(largestAbs);
  canvas.colours.reserve(mesh.vertices.size());
  for (const floatVertex& p : mesh.vertices)
    canvas.colours.push_back(uint32_t(encode(p.z)) | uint32_t(encode(p.y)) << 8 |
                             uint32_t(encode(p.x)) << 16);

  // 54-byte header, then the rows bottom-up (row 0 first), blue-green-red,
  // each padded to a multiple of 4 bytes.
  const int32_t width = canvas.width, height = canvas.height;
  canvas.rowBytes = width > 0 ? 3 * uint32_t(width) + uint32_t(getPadding(width)) : 0;
  const uint32_t imageBytes = height > 0 ? canvas.rowBytes * uint32_t(height) : 0;
  canvas.bitmap.assign(54 + size_t(imageBytes), 0);
  unsigned char* at = canvas.bitmap.data();
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
  put32(at, imageBytes);  // resolutions and colour counts stay 0
}

// Paints one face: its corners pulled onto one 2 x 2 block. 0, or the
// failure of a face that cannot be painted, found before any of its pixels
// is touched.
float paintFace(Canvas& canvas, const sculpty::QuadFace& face, bool quad) {
  if (!quad) return sculpty::kResultNotQuad;
  int32_t column[4], row[4];
  for (int c = 0; c < 4; ++c) {
    const int32_t t = face.texture[c], vx = face.vertex[c];
    if (t < 0 || size_t(t) >= canvas.texCount || vx < 0 || size_t(vx) >= canvas.colours.size())
      return sculpty::kResultBadIndex;
    column[c] = canvas.positions[size_t(t)].column;
    row[c] = canvas.positions[size_t(t)].row;
  }
  if (row[0] >= row[1]) --row[0]; else --row[1];
  if (row[3] >= row[2]) --row[3]; else --row[2];
  if (column[0] >= column[3]) --column[0]; else --column[3];
  if (column[1] >= column[2]) --column[1]; else --column[2];
  for (int c = 0; c < 4; ++c)
    if (column[c] < 0 || column[c] >= canvas.width || row[c] < 0 || row[c] >= canvas.height)
      return sculpty::kResultOffCell;
  unsigned char* const pixels = canvas.bitmap.data() + 54;
  for (int c = 0; c < 4; ++c) {
    unsigned char* pixel = pixels + size_t(row[c]) * canvas.rowBytes + 3 * size_t(column[c]);
    const uint32_t colour = canvas.colours[size_t(face.vertex[c])];
    pixel[0] = uint8_t(colour);
    pixel[1] = uint8_t(colour >> 8);
    pixel[2] = uint8_t(colour >> 16);
  }
  return 0.0f;
}

// One reading of the OBJ file. Painting as the faces arrive: at the first
// face the vertex and texture lists are taken as complete, and each face is
// painted when read, so no face list is kept. A vertex or texture line
// after a face proves that wrong; the reading stops and the file must be
// read again with the faces kept.
struct Conversion {
  sculpty::Mesh mesh;
  Canvas canvas;
  bool prepared = false;
  bool paintable = false;  // prepared within the limits
  float firstFailure = 0.0f;

  static void onFace(void* context, const sculpty::QuadFace& face, bool quad) {
    Conversion& self = *static_cast<Conversion*>(context);
    if (self.mesh.lateLines || self.firstFailure != 0.0f) return;
    if (!self.prepared) {
      self.prepared = true;
      self.paintable = withinLimits(self.mesh);
      if (self.paintable) prepareCanvas(self.mesh, self.canvas);
    }
    // Beyond the limits, the face count or the size check fails in any case.
    if (self.paintable) self.firstFailure = paintFace(self.canvas, face, quad);
  }
};

// Reads, checks, paints and writes. Closes the OBJ file when read through;
// sets readAgain (and leaves the file open) when painting as read failed.
float convert(textops::FilePtr& file, int64_t size, const char* bmpPath, bool paintAsRead,
              bool& readAgain) {
  readAgain = false;
  Conversion run;
  sculpty::Mesh& mesh = run.mesh;
  if (paintAsRead) {
    mesh.onFace = Conversion::onFace;
    mesh.faceContext = &run;
  }
  // Room for the lists by the file's size (no line is shorter than 16
  // bytes in a grid file): only address space until used, and it spares the
  // copies of growing. Capped so that a huge file reserves nothing absurd.
  if (size > 0) {
    const size_t guess = size_t(std::min<int64_t>(size / 16, int64_t(1) << 24));
    mesh.vertices.reserve(guess);
    mesh.texIds.reserve(guess);
    if (!paintAsRead) mesh.faces.reserve(guess);
  }
  {
    textops::LineBlockReader reader;
    if (!textops::initLineReader(reader, file.get())) return fennick::kResultNoMemory;
    const char* begin;
    const char* end;
    while (!mesh.lateLines && textops::nextLineBlock(reader, begin, end))
      sculpty::readObjLines(mesh, begin, end);
    if (reader.failed) return fennick::kResultNoMemory;
  }
  if (paintAsRead && mesh.lateLines) {
    readAgain = true;
    return 0.0f;
  }
  file.reset();

  const size_t u = mesh.us.count(), v = mesh.vs.count();
  if (!faceCountMatches(u, v, mesh.faceCount)) return sculpty::kResultFaceCount;
  if (!withinLimits(mesh)) return sculpty::kResultTooLarge;
  if (!run.prepared) prepareCanvas(mesh, run.canvas);
  if (run.firstFailure != 0.0f) return run.firstFailure;
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const float failure = paintFace(run.canvas, mesh.faces[f], f != mesh.firstNonQuad);
    if (failure != 0.0f) return failure;
  }

  textops::FilePtr out = textops::openWriteRaw(bmpPath);
  if (!out) return sculpty::kResultWriteOpenFailed;
  const std::vector<unsigned char>& bitmap = run.canvas.bitmap;
  bool written = std::fwrite(bitmap.data(), 1, bitmap.size(), out.get()) == bitmap.size();
  if (std::fclose(out.release()) != 0) written = false;
  return written ? 0.0f : sculpty::kResultWriteFailed;
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
  // Painting as read needs a second reading in rare files, so a file that
  // cannot be read again (a pipe) is read once with its faces kept.
  const int64_t size = textops::fileSize(file.get());
  bool readAgain = false;
  const float result = convert(file, size, bmpPath, size >= 0, readAgain);
  if (!readAgain) return result;
  if (!textops::seekTo(file.get(), 0)) return sculpty::kResultOpenFailed;
  return convert(file, size, bmpPath, false, readAgain);
}

float sculpty::exportSculptyKeepingFaces(const char* objPath, const char* bmpPath) {
  textops::FilePtr file = textops::openRead(objPath);
  if (!file) return sculpty::kResultOpenFailed;
  bool readAgain = false;
  return convert(file, textops::fileSize(file.get()), bmpPath, false, readAgain);
}
