// The OBJ front end of both writers: the geometry name, one pass over the OBJ
// text into a model, and the face normals.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string_view>

#include "ColladaOps.h"
#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "QuickNumbers.h"
#include "TextOps.h"

namespace {

using textops::isStreamSpace;

bool isFinite(float v) { return v - v == 0.0f; }

// Divides (x, y, z) by its length. A vector without a length (or one whose
// components overflowed) becomes 0 0 0; one whose squared length leaves the
// float range is normalised in double precision instead.
void normaliseOrZero(float& x, float& y, float& z) {
  float length = std::sqrt(x * x + y * y + z * z);
  if (length > 0.0f && length <= FLT_MAX) {
    x /= length;
    y /= length;
    z /= length;
    return;
  }
  if (isFinite(x) && isFinite(y) && isFinite(z) && (x != 0 || y != 0 || z != 0)) {
    double dx = x, dy = y, dz = z;
    double scale = std::fmax(std::fabs(dx), std::fmax(std::fabs(dy), std::fabs(dz)));
    dx /= scale;
    dy /= scale;
    dz /= scale;
    double l = std::sqrt(dx * dx + dy * dy + dz * dz);
    x = static_cast<float>(dx / l);
    y = static_cast<float>(dy / l);
    z = static_cast<float>(dz / l);
    return;
  }
  x = y = z = 0.0f;
}

// A raw (unnormalised) sum that overflowed is written as 0 0 0.
void zeroIfNotFinite(float& x, float& y, float& z) {
  if (!(isFinite(x) && isFinite(y) && isFinite(z))) x = y = z = 0.0f;
}

enum class TextKind { None, Position, Texture };

// A face whose normal needs a vertex that a later line defines: its normal is
// taken once the whole file is read.
struct DeferredFace {
  int32_t group;
  int32_t face;  // index within the group
  int32_t corners;
  int32_t k[4];
};

struct Corner {
  int32_t vertex;
  int32_t texture;
};

struct Reader {
  Reader(colModel& m, int mode) : model(m), normalMode(mode) {}
  colModel& model;
  int normalMode;
  bool stopped = false;  // a line ended the reading: `code` says why
  float code = 0.0f;
  TextKind lastKind = TextKind::None;
  int64_t maxVertex = -1;  // largest vertex index a face used
  int64_t maxTexture = -1;
  std::vector<DeferredFace> deferred;
};

void stopWith(Reader& r, float code) {
  r.stopped = true;
  r.code = code;
}

// Appends a line's text and a blank to the arena. Bytes up to `limit` can be
// read: a short text is copied with one fixed-size copy.
void appendText(Reader& r, TextKind kind, const char* begin, const char* end, const char* limit) {
  constexpr size_t kShort = 32;
  colModel& m = r.model;
  std::vector<colTextRun>& runs = kind == TextKind::Position ? m.positionRuns : m.textureRuns;
  const size_t length = size_t(end - begin);
  const uint64_t at = m.textArena.size;
  textops::reserveMore(m.textArena, length < kShort ? kShort : length + 1);
  char* text = m.textArena.data + at;
  if (length < kShort && limit - begin >= std::ptrdiff_t(kShort)) {
    std::memcpy(text, begin, kShort);
  } else {
    std::memcpy(text, begin, length);
  }
  text[length] = ' ';
  m.textArena.size += length + 1;
  if (r.lastKind != kind) runs.push_back(colTextRun{at, 0});
  runs.back().bytes += uint64_t(length) + 1;
  r.lastKind = kind;
}

void readVertexLine(Reader& r, const char* begin, const char* end, const char* limit) {
  appendText(r, TextKind::Position, begin, end, limit);
  ++r.model.positionCount;
  if (r.normalMode <= 0) return;
  // Stream extraction of three floats: the first failure ends the reading,
  // and what was not read stays 0.
  float xyz[3] = {0, 0, 0};
  const char* p = begin;
  for (float& v : xyz) {
    textops::ParseResult pr = textops::parseStreamFloatQuick(p, end, limit, v);
    if (!pr.ok) break;
    p = pr.next;
  }
  aVertex vertex;
  vertex.x = xyz[0];
  vertex.y = xyz[1];
  vertex.z = xyz[2];
  textops::pushBack(r.model.vertices, vertex);
}

void readGroupLine(Reader& r, const char* begin, const char* end) {
  colModel& m = r.model;
  std::string_view key(begin, size_t(end - begin));
  auto found = m.groupTable.find(key);
  if (found != m.groupTable.end()) {
    m.currentGroup = found->second;
    return;
  }
  if (m.groupCount >= colladaops::kMaxGroups) {
    stopWith(r, colladaops::kResultTooManyGroups);
    return;
  }
  // A fresh slot's face count is 0 already; the first group keeps the faces
  // read before it (its lists hold them too).
  m.groupTable.emplace(std::string(key), m.groupCount);
  m.currentGroup = m.groupCount;
  ++m.groupCount;
}

// 1-based index, or negative counting back from the end of the list read so
// far; gives the 0-based index, false when it names no element.
bool resolveIndex(int32_t value, uint64_t countSoFar, int32_t& index) {
  if (value > 0) {
    index = value - 1;
    return true;
  }
  if (value == 0 || uint64_t(-int64_t(value)) > countSoFar) return false;
  index = static_cast<int32_t>(int64_t(countSoFar) + value);
  return true;
}

// One corner token: vertex[/[texture][/normal]]. Without a texture index the
// token's vertex number stands for both. The normal index is ignored.
bool readCorner(const Reader& r, const char* begin, const char* end, Corner& corner) {
  const char* slash = static_cast<const char*>(std::memchr(begin, '/', size_t(end - begin)));
  const char* vertexEnd = slash ? slash : end;
  int32_t vertexNumber;
  if (!textops::parseWholeInt(begin, vertexEnd, vertexNumber)) return false;
  int32_t textureNumber = vertexNumber;
  bool textureGiven = false;
  if (slash) {
    const char* t = slash + 1;
    const char* second = static_cast<const char*>(std::memchr(t, '/', size_t(end - t)));
    const char* textureEnd = second ? second : end;
    textureGiven = textureEnd != t;
    if (textureGiven && !textops::parseWholeInt(t, textureEnd, textureNumber)) return false;
  }
  if (!resolveIndex(vertexNumber, r.model.positionCount, corner.vertex)) return false;
  if (resolveIndex(textureNumber, r.model.textureCount, corner.texture)) return true;
  // A relative corner without texture index, before any texture line: it
  // reads as its absolute form, whose number stands for both.
  if (textureGiven || r.model.textureCount != 0) return false;
  corner.texture = corner.vertex;
  return true;
}

void addFaceNormal(colModel& m, int normalMode, int32_t groupIndex, int32_t face,
                   int32_t n, const int32_t* k) {
  float p[12] = {};
  for (int c = 0; c < 3; ++c) {
    const aVertex& v = m.vertices[size_t(k[c])];
    p[3 * c] = v.x;
    p[3 * c + 1] = v.y;
    p[3 * c + 2] = v.z;
  }
  if (normalMode == 1) {
    CalculateSurfaceNormal(p, true);
    float* slot = &m.groups[size_t(groupIndex)].faceNormals[size_t(face) * 3];
    slot[0] = p[9];
    slot[1] = p[10];
    slot[2] = p[11];
    return;
  }
  CalculateSurfaceNormal(p, false);
  int used = n == 4 ? 4 : 3;
  for (int c = 0; c < used; ++c) {
    aVertex& v = m.vertices[size_t(k[c])];
    v.nx += p[9];
    v.ny += p[10];
    v.nz += p[11];
  }
}

// The common corner forms with positive plain indices (7, 7/3, 7/3/5, 7//5)
// read in one pass; anything else (signs, relative indices, junk) is left to
// readCorner, whose results these agree with. On success p is at the end of
// the token.
inline bool quickCorner(const char*& p, const char* end, const char* limit, Corner& corner) {
  const char* q = p;
  uint32_t vertexNumber;
  if (!textops::plainDigits(q, end, limit, vertexNumber) || vertexNumber == 0) return false;
  uint32_t textureNumber = vertexNumber;
  if (q < end && *q == '/') {
    ++q;
    if (q < end && *q != '/' && !isStreamSpace(*q)) {
      if (!textops::plainDigits(q, end, limit, textureNumber) || textureNumber == 0) return false;
    }
    if (q < end && *q == '/') {
      while (q < end && !isStreamSpace(*q)) ++q;  // the normal index is not read
    }
  }
  if (q < end && !isStreamSpace(*q)) return false;
  corner.vertex = int32_t(vertexNumber - 1);
  corner.texture = int32_t(textureNumber - 1);
  p = q;
  return true;
}

// Reads the face line starting at `begin` in the run of lines ending at
// `end`; the line ends at the first line feed. Returns the line's end.
const char* readFaceLine(Reader& r, const char* begin, const char* end, const char* limit) {
  // The corners start at the line's third character.
  const char* p = begin + 1;
  if (p < end && *p != '\n') ++p;
  colModel& m = r.model;
  const int32_t groupIndex = m.currentGroup;
  colGroup& g = m.groups[size_t(groupIndex)];
  // Corners go straight into the group's lists; a face of fewer than three
  // corners is taken back out.
  const size_t first = g.vertexIndices.size;
  int64_t maxVertex = r.maxVertex;
  int64_t maxTexture = r.maxTexture;
  while (true) {
    while (p < end && *p != '\n' && isStreamSpace(*p)) ++p;
    if (p == end || *p == '\n') break;
    Corner corner;
    if (!quickCorner(p, end, limit, corner)) {
      const char* tokenEnd = p;
      while (tokenEnd < end && !isStreamSpace(*tokenEnd)) ++tokenEnd;
      if (!readCorner(r, p, tokenEnd, corner)) {
        g.vertexIndices.size = g.textureIndices.size = first;
        stopWith(r, colladaops::kResultBadFace);
        return end;
      }
      p = tokenEnd;
    }
    textops::pushBack(g.vertexIndices, corner.vertex);
    textops::pushBack(g.textureIndices, corner.texture);
    if (corner.vertex > maxVertex) maxVertex = corner.vertex;
    if (corner.texture > maxTexture) maxTexture = corner.texture;
  }
  const char* lineEnd = p;
  const size_t count = g.vertexIndices.size - first;
  // Points and edges are no faces.
  if (count < 3) {
    g.vertexIndices.size = g.textureIndices.size = first;
    return lineEnd;
  }
  if (count > size_t(INT32_MAX)) {
    stopWith(r, colladaops::kResultBadFace);
    return lineEnd;
  }
  r.maxVertex = maxVertex;
  r.maxTexture = maxTexture;
  const int32_t n = static_cast<int32_t>(count);
  textops::pushBack(g.cornerCounts, n);
  if (r.normalMode > 0) {
    const int32_t* v = g.vertexIndices.data + first;
    int32_t k[4] = {v[0], v[1], v[2], n >= 4 ? v[3] : 0};
    if (r.normalMode == 1) std::memset(textops::extend(g.faceNormals, 3), 0, 3 * sizeof(float));
    int used = r.normalMode >= 2 && n == 4 ? 4 : 3;
    bool known = true;
    for (int c = 0; c < used; ++c) known = known && uint64_t(k[c]) < m.vertices.size;
    if (known) {
      addFaceNormal(m, r.normalMode, groupIndex, g.faceCount, n, k);
    } else {
      r.deferred.push_back(DeferredFace{groupIndex, g.faceCount, n, {k[0], k[1], k[2], k[3]}});
    }
  }
  ++g.faceCount;
  m.totalCorners += n;
  return lineEnd;
}

}  // namespace

std::string makeModelName(const std::string& outputPath, bool keepSingleWord) {
  std::string base = fileops::fileNameWithoutExtension(outputPath);
  std::string name;
  size_t words = 0;
  for (size_t i = 0; i < base.size();) {
    if (base[i] == ' ') {
      ++i;
      continue;
    }
    size_t end = base.find(' ', i);
    if (end == std::string::npos) end = base.size();
    name.append(base, i, end - i);
    name += '_';
    ++words;
    i = end;
  }
  if (keepSingleWord && words == 1) return base;
  return name;
}

void CalculateSurfaceNormal(float* p, bool normalise) {
  float ux = p[3] - p[0], uy = p[4] - p[1], uz = p[5] - p[2];
  float vx = p[6] - p[0], vy = p[7] - p[1], vz = p[8] - p[2];
  float nx = uy * vz - uz * vy;
  float ny = -(ux * vz - uz * vx);
  float nz = ux * vy - uy * vx;
  if (normalise) normaliseOrZero(nx, ny, nz);
  p[9] = nx;
  p[10] = ny;
  p[11] = nz;
}

float readColModel(const char* objPath, int normalMode, colModel& model) {
  textops::FilePtr file = textops::openRead(objPath);
  return readColModel(file.get(), normalMode, model);
}

float readColModel(std::FILE* file, int normalMode, colModel& model) {
  if (!file) return colladaops::kResultOpenFailed;
  Reader r(model, normalMode);
  // Whole lines in runs read in large blocks; a face line is scanned to its
  // end by the corner reader, the others are found with memchr.
  textops::LineBlockReader reader;
  bool read = textops::initLineReader(reader, file);
  const char* begin;
  const char* end;
  while (read && !r.stopped && textops::nextLineBlock(reader, begin, end)) {
    const char* p = begin;
    while (p < end && !r.stopped) {
      if (*p == 'f') {
        const char* lineEnd = readFaceLine(r, p, end, end);
        p = lineEnd < end ? lineEnd + 1 : end;
        continue;
      }
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      const char* lineEnd = nl ? nl : end;
      const size_t length = size_t(lineEnd - p);
      if (length >= 2 && p[0] == 'v' && p[1] == ' ') {
        readVertexLine(r, p + 2, lineEnd, end);
      } else if (length >= 2 && p[0] == 'v' && p[1] == 't') {
        appendText(r, TextKind::Texture, p + 2, lineEnd, end);
        ++model.textureCount;
      } else if (p[0] == 'g') {
        readGroupLine(r, p, lineEnd);
      }
      p = nl ? nl + 1 : end;
    }
  }
  read = read && !reader.failed;
  const bool readFailed = std::ferror(file) != 0;
  if (!read) return fennick::kResultNoMemory;
  if (readFailed) return colladaops::kResultOpenFailed;
  if (r.stopped) return r.code;
  // Texture indices are only written, never looked up: a mesh without any
  // texture line keeps the indices its corners give (the vertex numbers), so
  // meshes without UVs still export. With texture lines, an index past them
  // is a broken file.
  if (uint64_t(r.maxVertex + 1) > model.positionCount ||
      (model.textureCount > 0 && uint64_t(r.maxTexture + 1) > model.textureCount))
    return colladaops::kResultBadFace;

  for (const DeferredFace& d : r.deferred)
    addFaceNormal(model, normalMode, d.group, d.face, d.corners, d.k);
  if (normalMode == 2) {
    for (aVertex& v : model.vertices) normaliseOrZero(v.nx, v.ny, v.nz);
  } else if (normalMode >= 3) {
    for (aVertex& v : model.vertices) zeroIfNotFinite(v.nx, v.ny, v.nz);
  }
  return 0.0f;
}
