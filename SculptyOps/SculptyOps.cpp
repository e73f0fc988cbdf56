#include "SculptyOps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "QuickNumbers.h"
#include "TextOps.h"

namespace {

// The distinct values of one texture axis and their ranks. Open addressing
// on the value's bits; -0 is folded into +0 because the two compare equal.
// The stream-rule parser yields no NaN, so a NaN pattern marks empty slots.
struct DistinctFloats {
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  std::vector<uint32_t> keys;
  std::vector<int32_t> ranks;
  size_t count = 0;
  size_t mask = 0;
  unsigned shift = 0;
  uint32_t lastKey = kEmpty;  // grid files repeat the same value in runs

  DistinctFloats() { resize(10); }

  static uint32_t keyOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits == 0x80000000u ? 0u : bits;
  }
  size_t slotOf(uint32_t key) const {
    size_t slot = size_t((uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift);
    while (keys[slot] != key && keys[slot] != kEmpty) slot = (slot + 1) & mask;
    return slot;
  }
  void resize(unsigned bits) {
    std::vector<uint32_t> old;
    old.swap(keys);
    keys.assign(size_t(1) << bits, kEmpty);
    mask = keys.size() - 1;
    shift = 64 - bits;
    for (uint32_t key : old)
      if (key != kEmpty) keys[slotOf(key)] = key;
  }
  void insert(float value) {
    uint32_t key = keyOf(value);
    if (key == lastKey) return;
    lastKey = key;
    size_t slot = slotOf(key);
    if (keys[slot] == key) return;
    keys[slot] = key;
    if (++count * 2 > keys.size()) resize(unsigned(64 - shift + 1));
  }
  // Ascending order gives the ranks; call once, after the last insert.
  void assignRanks() {
    std::vector<float> values;
    values.reserve(count);
    for (uint32_t key : keys) {
      if (key == kEmpty) continue;
      float value;
      std::memcpy(&value, &key, sizeof value);
      values.push_back(value);
    }
    std::sort(values.begin(), values.end());
    ranks.assign(keys.size(), 0);
    for (size_t i = 0; i < values.size(); ++i)
      ranks[slotOf(keyOf(values[i]))] = int32_t(i);
  }
  int32_t rankOf(float value) const { return ranks[slotOf(keyOf(value))]; }
};

struct Mesh {
  std::vector<floatVertex> vertices;
  std::vector<txtF> texCoords;
  std::vector<aFace> faces;
  float largest = 0.0f;
  float smallest = 0.0f;
  DistinctFloats us, vs;
};

// Reads up to n numbers by the stream rule. The first that cannot be read
// keeps the value the rule gives it (0, or +-FLT_MAX on overflow) and ends
// the line; the numbers after it stay 0.
inline void readFloats(const char* p, const char* end, float* out, int n) {
  for (int i = 0; i < n; ++i) {
    textops::ParseResult r = textops::parseStreamFloatQuick(p, end, out[i]);
    if (!r.ok) return;
    p = r.next;
  }
}

inline int32_t minusOne(int32_t index) {
  return index == INT32_MIN ? INT32_MIN : index - 1;
}

inline bool isBlank(const char* p, const char* end) {
  for (; p < end; ++p)
    if (!textops::isStreamSpace(*p)) return false;
  return true;
}

// Corners are the space-separated tokens; each token's pieces between '/'
// (empty ones skipped) give the vertex and the texture index. A token of
// white space only (the carriage return after a trailing space) is no corner.
// One pass: a piece that starts with a sign or digit is read in place (the
// number cannot run past the piece); one that starts with white space gets
// its bounds first, since the stream rule skips white space.
void readFace(const char* p, const char* end, aFace& face) {
  face.corners = 0;
  for (int c = 0; c < 4; ++c) face.vertex[c] = face.texture[c] = -1;
  int64_t corners = 0;
  while (p < end) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    if (textops::isStreamSpace(*p)) {
      const char* tokenEnd = p;
      while (tokenEnd < end && *tokenEnd != ' ') ++tokenEnd;
      if (isBlank(p, tokenEnd)) {
        p = tokenEnd;
        continue;
      }
    }
    int32_t index[2] = {0, 0};
    int pieces = 0;
    while (p < end && *p != ' ') {
      if (*p == '/' || pieces == 2 || corners >= 4) {
        ++p;
        continue;
      }
      if (!textops::isStreamSpace(*p)) {
        p = textops::parseStreamIntQuick(p, end, index[pieces++]).next;
        while (p < end && *p != '/' && *p != ' ') ++p;
      } else {
        const char* pieceEnd = p;
        while (pieceEnd < end && *pieceEnd != '/' && *pieceEnd != ' ') ++pieceEnd;
        textops::parseStreamInt(p, pieceEnd, index[pieces++]);
        p = pieceEnd;
      }
    }
    if (corners < 4) {
      if (pieces > 0) face.vertex[corners] = minusOne(index[0]);
      if (pieces > 1) face.texture[corners] = minusOne(index[1]);
    }
    ++corners;
  }
  face.corners = int32_t(std::min<int64_t>(corners, INT32_MAX));
}

void readLine(Mesh& mesh, const char* line, const char* end) {
  if (end - line < 2) return;
  if (line[0] == 'v' && line[1] == ' ') {
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    readFloats(line + 2, end, xyz, 3);
    for (float c : xyz) {
      if (c > mesh.largest) mesh.largest = c;
      if (c < mesh.smallest) mesh.smallest = c;
    }
    mesh.vertices.push_back({xyz[0], xyz[1], xyz[2]});
  } else if (line[0] == 'v' && line[1] == 't') {
    float uv[2] = {0.0f, 0.0f};
    readFloats(line + 2, end, uv, 2);
    mesh.texCoords.push_back({uv[0], uv[1]});
    mesh.us.insert(uv[0]);
    mesh.vs.insert(uv[1]);
  } else if (line[0] == 'f' && line[1] == ' ') {
    mesh.faces.emplace_back();
    readFace(line + 2, end, mesh.faces.back());
  }
}

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

inline void put16(textops::OutFile& out, uint32_t value) {
  unsigned char b[2] = {uint8_t(value), uint8_t(value >> 8)};
  textops::put(out, b, 2);
}
inline void put32(textops::OutFile& out, uint32_t value) {
  unsigned char b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                        uint8_t(value >> 24)};
  textops::put(out, b, 4);
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
  Mesh mesh;
  // Room for the lists by the file's size (no line is shorter than 16
  // bytes in a grid file): only address space until used, and it spares the
  // copies of growing. Capped so that a huge file reserves nothing absurd.
  const int64_t size = textops::fileSize(file.get());
  if (size > 0) {
    const size_t guess = size_t(std::min<int64_t>(size / 16, int64_t(1) << 24));
    mesh.vertices.reserve(guess);
    mesh.texCoords.reserve(guess);
    mesh.faces.reserve(guess);
  }
  bool read = textops::forEachLine(file.get(), [&](const char* line, const char* end) {
    readLine(mesh, line, end);
    return true;
  });
  const bool readFailed = std::ferror(file.get()) != 0;
  file.reset();
  if (!read) return fennick::kResultNoMemory;
  if (readFailed) return sculpty::kResultOpenFailed;

  const size_t u = mesh.us.count, v = mesh.vs.count;
  if (!faceCountMatches(u, v, mesh.faces.size())) return sculpty::kResultFaceCount;
  if (u > size_t(sculpty::kMaxSide) / 2 + 1 || v > size_t(sculpty::kMaxSide) / 2 + 1)
    return sculpty::kResultTooLarge;
  const int32_t width = 2 * int32_t(u) - 2;
  const int32_t height = 2 * int32_t(v) - 2;

  // Pixel positions of the texture coordinates.
  mesh.us.assignRanks();
  mesh.vs.assignRanks();
  std::vector<txtI> positions;
  positions.reserve(mesh.texCoords.size());
  for (const txtF& t : mesh.texCoords)
    positions.push_back({2 * mesh.us.rankOf(t.u), 2 * mesh.vs.rankOf(t.v)});

  // Colours of the vertices: one scale for all axes, the origin at 127.
  float largestAbs = mesh.largest;
  if (mesh.smallest < 0.0f && -mesh.smallest >= mesh.largest) largestAbs = -mesh.smallest;
  const Encoder encode(largestAbs);
  std::vector<rgbVertex> colours;
  colours.reserve(mesh.vertices.size());
  for (const floatVertex& p : mesh.vertices)
    colours.push_back({encode(p.x), encode(p.y), encode(p.z)});

  // Painting: each quad's corners pulled onto one 2 x 2 block; a later face
  // overwrites. Every face is checked before its pixels are touched.
  const size_t pixels = width > 0 && height > 0 ? size_t(width) * size_t(height) : 0;
  std::vector<int32_t> red(pixels), green(pixels), blue(pixels);
  const size_t vertexCount = mesh.vertices.size();
  const size_t texCount = positions.size();
  for (const aFace& face : mesh.faces) {
    if (face.corners != 4) return sculpty::kResultNotQuad;
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
      size_t at = size_t(row[c]) * size_t(width) + size_t(column[c]);
      const rgbVertex& colour = colours[size_t(face.vertex[c])];
      red[at] = colour.red;
      green[at] = colour.green;
      blue[at] = colour.blue;
    }
  }

  // Writing: 54-byte header, rows bottom-up, blue-green-red, padded rows.
  textops::OutFile out;
  if (!textops::openOut(out, bmpPath))
    return out.buffer ? sculpty::kResultWriteOpenFailed : fennick::kResultNoMemory;
  const uint32_t padding = uint32_t(getPadding(width));
  const uint32_t rowBytes = 3 * uint32_t(width) + padding;
  const uint32_t imageBytes = rowBytes * uint32_t(height);
  textops::put(out, "BM", 2);
  put32(out, 54 + imageBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, uint32_t(width));
  put32(out, uint32_t(height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, imageBytes);
  for (int i = 0; i < 4; ++i) put32(out, 0);
  std::vector<unsigned char> line(rowBytes, 0);
  for (int32_t r = 0; rowBytes > 0 && r < height; ++r) {  // a width of 0 has no rows
    const size_t base = size_t(r) * size_t(width);
    for (int32_t c = 0; c < width; ++c) {
      line[3 * size_t(c)] = uint8_t(blue[base + size_t(c)]);
      line[3 * size_t(c) + 1] = uint8_t(green[base + size_t(c)]);
      line[3 * size_t(c) + 2] = uint8_t(red[base + size_t(c)]);
    }
    textops::put(out, line.data(), line.size());
  }
  return textops::closeOut(out) ? 0.0f : sculpty::kResultWriteFailed;
}
