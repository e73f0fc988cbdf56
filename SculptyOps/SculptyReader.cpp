#include "SculptyReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numeric>

#include "QuickNumbers.h"
#include "TextOps.h"

namespace sculpty {

// ---- distinct texture values -------------------------------------------------

// A small table to start with: most meshes are read whole in one go, and the
// few doublings a large grid needs cost nothing beside its lines.
DistinctFloats::DistinctFloats() {
  keys.assign(64, kEmpty);
  slotIds.assign(keys.size(), 0);
  mask = keys.size() - 1;
  shift = 64 - 6;
}

size_t DistinctFloats::slotOf(uint32_t key) const {
  size_t slot = size_t((uint64_t(key) * 0x9E3779B97F4A7C15ull) >> shift);
  while (keys[slot] != key && keys[slot] != kEmpty) slot = (slot + 1) & mask;
  return slot;
}

void DistinctFloats::grow() {
  std::vector<uint32_t> oldKeys(keys.size() * 2, kEmpty), oldIds(keys.size() * 2, 0);
  oldKeys.swap(keys);
  oldIds.swap(slotIds);
  mask = keys.size() - 1;
  --shift;
  for (size_t i = 0; i < oldKeys.size(); ++i) {
    if (oldKeys[i] == kEmpty) continue;
    size_t slot = slotOf(oldKeys[i]);
    keys[slot] = oldKeys[i];
    slotIds[slot] = oldIds[i];
  }
}

uint32_t DistinctFloats::insert(float value) {
  uint32_t key;
  std::memcpy(&key, &value, sizeof key);
  if (key == 0x80000000u) key = 0;
  if (key == lastKey) return lastId;
  size_t slot = slotOf(key);
  if (keys[slot] != key) {
    keys[slot] = key;
    slotIds[slot] = uint32_t(values.size());
    values.push_back(key == 0 ? 0.0f : value);
    if (values.size() * 2 > keys.size()) {
      grow();
      slot = slotOf(key);
    }
  }
  lastKey = key;
  lastId = slotIds[slot];
  return lastId;
}

std::vector<int32_t> DistinctFloats::ranksById() const {
  std::vector<uint32_t> order(values.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return values[a] < values[b]; });
  std::vector<int32_t> ranks(values.size());
  for (size_t i = 0; i < order.size(); ++i) ranks[order[i]] = int32_t(i);
  return ranks;
}

namespace {

// ---- what a line adds ----------------------------------------------------------

inline void addVertex(Mesh& mesh, const float (&xyz)[3]) {
  for (float c : xyz) {
    if (c > mesh.largest) mesh.largest = c;
    if (c < mesh.smallest) mesh.smallest = c;
  }
  mesh.vertices.push_back({xyz[0], xyz[1], xyz[2]});
}

inline void addTexCoord(Mesh& mesh, float u, float v) {
  mesh.texIds.push_back({int32_t(mesh.us.insert(u)), int32_t(mesh.vs.insert(v))});
}

inline void addFace(Mesh& mesh, const QuadFace& face, bool quad) {
  if (!quad && mesh.firstNonQuad == SIZE_MAX) mesh.firstNonQuad = mesh.faces.size();
  mesh.faces.push_back(face);
}

// ---- the general line rules ------------------------------------------------------

// Reads up to n numbers by the stream rule. The first that cannot be read
// keeps the value the rule gives it (0, or +-FLT_MAX on overflow) and ends
// the line; the numbers after it stay 0.
void readFloats(const char* p, const char* end, float* out, int n) {
  for (int i = 0; i < n; ++i) {
    textops::ParseResult r = textops::parseStreamFloatQuick(p, end, out[i]);
    if (!r.ok) return;
    p = r.next;
  }
}

inline int32_t minusOne(int32_t index) {
  return index == INT32_MIN ? INT32_MIN : index - 1;
}

bool isBlank(const char* p, const char* end) {
  for (; p < end; ++p)
    if (!textops::isStreamSpace(*p)) return false;
  return true;
}

// Corners are the space-separated tokens; each token's pieces between '/'
// (empty ones skipped) give the vertex and the texture index. A token of
// white space only (the carriage return after a trailing space) is no corner.
// A piece that starts with a sign or digit is read in place (the number
// cannot run past the piece); one that starts with white space gets its
// bounds first, since the stream rule skips white space.
void readFace(Mesh& mesh, const char* p, const char* end) {
  QuadFace face;
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
  addFace(mesh, face, corners == 4);
}

// One line without its line feed.
void readLine(Mesh& mesh, const char* line, const char* end) {
  if (end - line < 2) return;
  if (line[0] == 'v' && line[1] == ' ') {
    float xyz[3] = {0.0f, 0.0f, 0.0f};
    readFloats(line + 2, end, xyz, 3);
    addVertex(mesh, xyz);
  } else if (line[0] == 'v' && line[1] == 't') {
    float uv[2] = {0.0f, 0.0f};
    readFloats(line + 2, end, uv, 2);
    addTexCoord(mesh, uv[0], uv[1]);
  } else if (line[0] == 'f' && line[1] == ' ') {
    readFace(mesh, line + 2, end);
  }
}

// Reads the line at p by the general rules; returns the next line's start.
// Kept out of the fast line loop: inlined there, its code changed the loop's
// register use (1% more instructions per line on the benchmark grid).
[[gnu::noinline]] const char* readLineAt(Mesh& mesh, const char* p, const char* end) {
  const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
  readLine(mesh, p, nl ? nl : end);
  return nl ? nl + 1 : end;
}

// ---- fast paths ---------------------------------------------------------------------
// Each takes one line whose text is the common case, or declines (null)
// without touching the mesh, and the general rules read the line instead.
// '\n' ends the line; no read goes past `end`.

// White space up to the next number of the line; null at the line's end.
inline const char* skipToNumber(const char* q, const char* end) {
  while (q < end && *q != '\n' && textops::isStreamSpace(*q)) ++q;
  return q < end && *q != '\n' ? q : nullptr;
}

// The numbers of a vertex or texture line, each a plain numeral (see
// textops::plainFloat) after white space; null when one is not. The digit
// runs go byte by byte: lengths repeat from line to line in mesh files, so
// the branches are well predicted, and the next number's position does not
// wait for a word-at-a-time count.
template <int N>
inline const char* plainFloats(const char* q, const char* end, float (&out)[N]) {
  for (int i = 0; i < N; ++i) {
    q = skipToNumber(q, end);
    if (!q) return nullptr;
    q = textops::plainFloat<textops::digitRunBytes>(q, end, out[i]);
    if (!q) return nullptr;
  }
  return q;
}

// Start of the next line; the rest of this one is ignored.
inline const char* nextLine(const char* q, const char* end) {
  if (q < end && *q == '\n') return q + 1;
  const char* nl = static_cast<const char*>(std::memchr(q, '\n', size_t(end - q)));
  return nl ? nl + 1 : end;
}

// Whether the first n (below 8) of the 8 bytes at a and at b are the same.
inline bool samePrefix(const char* a, const char* b, int n) {
  uint64_t x, y;
  std::memcpy(&x, a, 8);
  std::memcpy(&y, b, 8);
  // Little-endian: the first bytes are the low ones (the library builds for
  // little-endian targets only; TextOps/FloatText.cpp refuses others).
  const uint64_t first = (uint64_t(1) << (8 * n)) - 1;
  return ((x ^ y) & first) == 0;
}

// Four corners "v/t" or "v/t/n" of 1-7 digits each, one space apart, then
// the line's end (or a carriage return and the line's end). Each corner
// reads at most 24 bytes past the one before. A texture index written like
// its vertex index (files with one texture coordinate per vertex) is
// compared rather than read again.
inline const char* plainQuad(const char* q, const char* end, QuadFace& face) {
  if (end - q < 4 * 24 + 2) return nullptr;
  for (int c = 0; c < 4; ++c) {
    if (c > 0 && *q++ != ' ') return nullptr;
    uint32_t v, t;
    const int n = textops::digitRunBytes(q, v);
    if (n == 0 || n == 8 || q[n] != '/') return nullptr;
    const char* r = q + n + 1;
    if (samePrefix(q, r, n) && unsigned(r[n] - '0') >= 10u) {
      t = v;
      q = r + n;
    } else {
      const int m = textops::digitRunBytes(r, t);
      if (m == 0 || m == 8) return nullptr;
      q = r + m;
    }
    if (*q == '/') {  // a third piece: ignored
      uint32_t ignored;
      const int m = textops::digitRunBytes(q + 1, ignored);
      if (m == 0 || m == 8) return nullptr;
      q += 1 + m;
    }
    face.vertex[c] = int32_t(v) - 1;
    face.texture[c] = int32_t(t) - 1;
  }
  if (*q == '\n') return q + 1;
  if (*q == '\r' && q[1] == '\n') return q + 2;
  return nullptr;
}

}  // namespace

void readObjLines(Mesh& mesh, const char* p, const char* end) {
  while (p < end) {
    const char* next = nullptr;
    if (end - p >= 2) {
      if (p[0] == 'v' && p[1] == ' ') {
        float xyz[3];
        if (const char* q = plainFloats(p + 2, end, xyz)) {
          addVertex(mesh, xyz);
          next = nextLine(q, end);
        }
      } else if (p[0] == 'v' && p[1] == 't') {
        float uv[2];
        if (const char* q = plainFloats(p + 2, end, uv)) {
          addTexCoord(mesh, uv[0], uv[1]);
          next = nextLine(q, end);
        }
      } else if (p[0] == 'f' && p[1] == ' ') {
        QuadFace face;
        if ((next = plainQuad(p + 2, end, face)) != nullptr) addFace(mesh, face, true);
      }
    }
    p = next ? next : readLineAt(mesh, p, end);
  }
}

void readObjLinesPlain(Mesh& mesh, const char* p, const char* end) {
  while (p < end) p = readLineAt(mesh, p, end);
}

}  // namespace sculpty
