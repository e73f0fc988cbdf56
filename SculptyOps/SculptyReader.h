// The sculpt map's OBJ reader: what the lines of a file add to the mesh.
// Internal to SculptyOps; the tests reach it to hold the fast line paths to
// the general line rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "SculptyOps.h"

namespace sculpty {

// The distinct values of one texture axis. Each value gets an id in the
// order of first sight; ranks (ascending order) come once reading is done.
// Open addressing on the value's bits; -0 is folded into +0 because the two
// compare equal. The stream-rule parser yields no NaN, so a NaN pattern
// marks empty slots.
struct DistinctFloats {
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  std::vector<uint32_t> keys;    // per slot: the value's bits, or kEmpty
  std::vector<uint32_t> slotIds; // per slot: the value's id
  std::vector<float> values;     // per id
  size_t mask = 0;
  unsigned shift = 0;
  uint32_t lastKey = kEmpty;  // grid files repeat the same value in runs
  uint32_t lastId = 0;

  DistinctFloats();
  size_t count() const { return values.size(); }
  // The id of `value`, a new one if it was not seen before.
  uint32_t insert(float value);
  // Rank of every id: its place in the ascending order of the values.
  std::vector<int32_t> ranksById() const;

 private:
  size_t slotOf(uint32_t key) const;
  void grow();
};

// One quad: 0-based vertex and texture indices of its four corners.
struct QuadFace {
  int32_t vertex[4];
  int32_t texture[4];
};

struct Mesh {
  std::vector<floatVertex> vertices;
  // Per texture coordinate, in file order: the ids of its u and v among the
  // distinct values (column = u id, row = v id) until the ranks are known.
  std::vector<txtI> texIds;
  // Every face in file order; a face that is no quad holds a copy of its
  // first four corners and is named by firstNonQuad.
  std::vector<QuadFace> faces;
  size_t firstNonQuad = SIZE_MAX;
  float largest = 0.0f;
  float smallest = 0.0f;
  DistinctFloats us, vs;
};

// Adds the lines of [begin, end) to the mesh: whole lines, each ending in a
// line feed except perhaps the last line of the file. Plain lines (numerals
// as mesh writers print them, corners "v/t") take fast paths; every other
// line is read by the general rules, with the same result.
void readObjLines(Mesh& mesh, const char* begin, const char* end);
// The same, every line by the general rules.
void readObjLinesPlain(Mesh& mesh, const char* begin, const char* end);

// Checks and paints a mesh read by the line readers, and writes its bitmap
// to `out` (see writeSculptMap over a byte range); the mesh's texture list
// is turned into pixel positions.
fennick::Status writeSculptMap(Mesh& mesh, textops::OutFile& out);

}  // namespace sculpty
