#include "SculptyOps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "Common.h"
#include "FileOps.h"
#include "LittleEndian.h"
#include "SculptyReader.h"
#include "TextOps.h"

namespace {

using fennick::Status;

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

// What painting needs: the pixel position of every texture coordinate
// (the mesh's list, turned into positions in place), the encoded position
// of every vertex, and the three channel planes, width x height values each,
// addressed as row x width + column. Each pixel keeps the last value painted
// on it; unpainted pixels stay 0 (black).
struct Canvas {
  const txtI* positions = nullptr;
  size_t texCount = 0;
  std::vector<rgbVertex> colours;
  int32_t width = 0, height = 0;
  std::vector<int32_t> red, green, blue;
};

bool withinLimits(const sculpty::Mesh& mesh) {
  const size_t most = size_t(sculpty::kMaxSide) / 2 + 1;
  return mesh.us.count() <= most && mesh.vs.count() <= most;
}

// Needs the image within its limits.
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
    canvas.colours.push_back({encode(p.x), encode(p.y), encode(p.z)});

  const size_t pixels = canvas.width > 0 && canvas.height > 0
                            ? size_t(canvas.width) * size_t(canvas.height)
                            : 0;
  canvas.red.assign(pixels, 0);
  canvas.green.assign(pixels, 0);
  canvas.blue.assign(pixels, 0);
}

// Paints one face: its corners pulled onto one 2 x 2 block. Ok, or the
// failure of a face that cannot be painted, found before any of its pixels
// is touched.
Status paintFace(Canvas& canvas, const sculpty::QuadFace& face, bool quad) {
  if (!quad) return Status::NotQuad;
  int32_t column[4], row[4];
  for (int c = 0; c < 4; ++c) {
    const int32_t t = face.texture[c], vx = face.vertex[c];
    if (t < 0 || size_t(t) >= canvas.texCount || vx < 0 || size_t(vx) >= canvas.colours.size())
      return Status::BadIndex;
    column[c] = canvas.positions[size_t(t)].column;
    row[c] = canvas.positions[size_t(t)].row;
  }
  if (row[0] >= row[1]) --row[0]; else --row[1];
  if (row[3] >= row[2]) --row[3]; else --row[2];
  if (column[0] >= column[3]) --column[0]; else --column[3];
  if (column[1] >= column[2]) --column[1]; else --column[2];
  for (int c = 0; c < 4; ++c)
    if (column[c] < 0 || column[c] >= canvas.width || row[c] < 0 || row[c] >= canvas.height)
      return Status::OffCell;
  for (int c = 0; c < 4; ++c) {
    const size_t at = size_t(row[c]) * size_t(canvas.width) + size_t(column[c]);
    const rgbVertex& colour = canvas.colours[size_t(face.vertex[c])];
    canvas.red[at] = colour.red;
    canvas.green[at] = colour.green;
    canvas.blue[at] = colour.blue;
  }
  return Status::Ok;
}

// The 54-byte header, then the rows bottom-up (plane row 0 first),
// blue-green-red, each padded with zero bytes to a multiple of 4.
void writeBitmap(const Canvas& canvas, textops::OutFile& out) {
  const int32_t width = canvas.width, height = canvas.height;
  const uint32_t padding = width > 0 ? uint32_t(sculpty::rowPadding(width)) : 0;
  const uint32_t rowBytes = width > 0 ? 3 * uint32_t(width) + padding : 0;
  const uint32_t imageBytes = height > 0 ? rowBytes * uint32_t(height) : 0;
  unsigned char header[54];
  unsigned char* at = header;
  *at++ = 'B';
  *at++ = 'M';
  at = le::storeU32(at, 54 + imageBytes);
  at = le::storeU32(at, 0);
  at = le::storeU32(at, 54);
  at = le::storeU32(at, 40);
  at = le::storeU32(at, uint32_t(width));
  at = le::storeU32(at, uint32_t(height));
  at = le::storeU16(at, 1);
  at = le::storeU16(at, 24);
  at = le::storeU32(at, 0);
  at = le::storeU32(at, imageBytes);
  std::memset(at, 0, size_t(header + sizeof header - at));  // resolutions, colour counts
  textops::put(out, header, sizeof header);
  if (width <= 0 || height <= 0) return;
  std::vector<unsigned char> line(rowBytes, 0);
  for (int32_t r = 0; r < height; ++r) {
    const size_t first = size_t(r) * size_t(width);
    unsigned char* pixel = line.data();
    for (int32_t c = 0; c < width; ++c, pixel += 3) {
      pixel[0] = uint8_t(canvas.blue[first + size_t(c)]);
      pixel[1] = uint8_t(canvas.green[first + size_t(c)]);
      pixel[2] = uint8_t(canvas.red[first + size_t(c)]);
    }
    textops::put(out, line.data(), line.size());
  }
}

// Room for the lists by the input's size (no line is shorter than 16 bytes
// in a grid file): only address space until used, and it spares the copies
// of growing. Capped so that a huge input reserves nothing absurd.
void reserveFor(sculpty::Mesh& mesh, int64_t size) {
  if (size <= 0) return;
  const size_t guess = size_t(std::min<int64_t>(size / 16, int64_t(1) << 24));
  mesh.vertices.reserve(guess);
  mesh.texIds.reserve(guess);
  mesh.faces.reserve(guess);
}

// Reads the OBJ file in one pass. A read that failed is no end of the file.
Status readMesh(std::FILE* file, sculpty::Mesh& mesh) {
  reserveFor(mesh, textops::fileSize(file));
  return textops::forEachLineRun(file, [&](const char* begin, const char* end) {
    sculpty::readObjLines(mesh, begin, end);
    return true;
  });
}

// Checks the mesh and paints it.
Status paintMesh(sculpty::Mesh& mesh, Canvas& canvas) {
  const size_t u = mesh.us.count(), v = mesh.vs.count();
  if (!faceCountMatches(u, v, mesh.faces.size())) return Status::FaceCount;
  if (!withinLimits(mesh)) return Status::TooLarge;
  prepareCanvas(mesh, canvas);
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const Status failure = paintFace(canvas, mesh.faces[f], f != mesh.firstNonQuad);
    if (failure != Status::Ok) return failure;
  }
  return Status::Ok;
}

}  // namespace

namespace sculpty {

int rowPadding(int width) {
  int r = int(std::fmod(float(width) * 3.0f, 4.0f));
  switch (r) {
    case 1: return 3;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
  }
}

Status exportSculptMap(const char* objPath, const char* bmpPath) {
  textops::FilePtr file = textops::openRead(objPath);
  if (!file) return Status::OpenFailed;
  const fileops::OneInput from(file.get());
  if (fileops::namesInput(bmpPath, from.identity)) return Status::OutputIsInput;
  Mesh mesh;
  Status status = readMesh(file.get(), mesh);
  file.reset();
  if (status != Status::Ok) return status;
  Canvas canvas;
  status = paintMesh(mesh, canvas);
  if (status != Status::Ok) return status;
  fileops::Output output;
  status = fileops::openOutput(output, bmpPath, from.rules);
  if (status != Status::Ok) return status;
  writeBitmap(canvas, output.out);
  return fileops::closeOutput(output) ? Status::Ok : Status::WriteFailed;
}

Status writeSculptMap(const unsigned char* data, size_t size, textops::OutFile& out) {
  Mesh mesh;
  reserveFor(mesh, int64_t(std::min<uint64_t>(size, uint64_t(INT64_MAX))));
  const char* text = reinterpret_cast<const char*>(data);
  if (size) readObjLines(mesh, text, text + size);
  return writeSculptMap(mesh, out);
}

Status writeSculptMap(Mesh& mesh, textops::OutFile& out) {
  Canvas canvas;
  const Status status = paintMesh(mesh, canvas);
  if (status == Status::Ok) writeBitmap(canvas, out);
  return status;
}

}  // namespace sculpty
