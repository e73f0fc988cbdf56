// COLLADA export: the OBJ model the writers read and the writers' result
// codes. The header texts (colHeader, fileHeader) and the functions this
// module defines for FennickDLL's table (setTextureName, setDateTime,
// CalculateSurfaceNormal, OBJtoCOLLADA, OBJtoCOLLADATris) are declared in
// FennickDLL.h.
#pragma once

#include <functional>
#include <cstdint>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

#include "PodArray.h"

// ---- the model ----------------------------------------------------------------

struct aVertex {
  float x = 0, y = 0, z = 0;     // position as parsed from the vertex line
  float nx = 0, ny = 0, nz = 0;  // smoothed normal (normal modes 2 and up)
};

// One group slot: the faces filed under one group line, in reading order.
struct colGroup {
  textops::PodArray<int32_t> cornerCounts;    // per face
  textops::PodArray<float> faceNormals;       // nx, ny, nz per face (normal mode 1)
  textops::PodArray<int32_t> textureIndices;  // per corner, 0-based
  textops::PodArray<int32_t> vertexIndices;   // per corner, 0-based
  int32_t faceCount = 0;
};

// A run of consecutive texts of one kind in the model's text arena.
struct colTextRun {
  uint64_t offset = 0;  // first byte in the arena
  uint64_t bytes = 0;   // bytes of the run, separating blanks included
};

namespace colladaops {
// Group slots of a model: a file with more distinct group lines is refused.
constexpr int32_t kMaxGroups = 1024;
}  // namespace colladaops

struct colModel {
  // Position texts (vertex lines after their first two characters) and
  // texture texts (texture lines after their first two characters), verbatim,
  // each followed by a blank as the document lists them, in one byte buffer;
  // the runs say which stretch holds which kind, in file order.
  textops::PodArray<char> textArena;
  std::vector<colTextRun> positionRuns;
  std::vector<colTextRun> textureRuns;
  uint64_t positionCount = 0;
  uint64_t textureCount = 0;
  // Parsed positions and smoothed normals, one per vertex line; filled only
  // when normals are asked for (nothing else reads them).
  textops::PodArray<aVertex> vertices;
  // Group line (whole line) -> group index; byte-wise key order.
  std::map<std::string, int32_t, std::less<>> groupTable;
  int32_t groupCount = 0;
  int32_t currentGroup = 0;
  std::vector<colGroup> groups = std::vector<colGroup>(colladaops::kMaxGroups);
  int64_t totalCorners = 0;
};

// Geometry name from the output path: its file name without extension, words
// (split at blanks) each followed by "_"; a single word stays as it is when
// keepSingleWord is set.
std::string makeModelName(const std::string& outputPath, bool keepSingleWord);

// Reads an OBJ file into a fresh model; normalMode (0 or less: none, 1: per
// face, 2: smoothed per vertex, 3 or more: smoothed sums) says which normals
// are computed. Result: 0, kResultOpenFailed, kResultTooManyGroups,
// kResultBadFace, or -99 (no memory). May throw std::bad_alloc.
float readColModel(const char* objPath, int normalMode, colModel& model);
// The same from a file opened for reading (null: kResultOpenFailed).
float readColModel(std::FILE* file, int normalMode, colModel& model);

// ---- result codes of OBJtoCOLLADA and OBJtoCOLLADATris ------------------------
// (with fennick::kResultNullArgument, -9, for a null path, and -99)

namespace colladaops {
// The OBJ file cannot be opened or read.
constexpr float kResultOpenFailed = -1.0f;
// The output cannot be opened.
constexpr float kResultOutputFailed = -2.0f;
// More than kMaxGroups distinct group lines.
constexpr float kResultTooManyGroups = -3.0f;
// A face corner that is not a vertex index (optionally /texture index,
// /normal index) within the file's lists.
constexpr float kResultBadFace = -4.0f;
// The document could not be written completely (a full disk); the file stays
// as far as it got.
constexpr float kResultWriteFailed = -5.0f;
// The output path names the OBJ file (the same path, another spelling, a
// symbolic or a hard link): refused before anything is read or written.
constexpr float kResultOutputIsInput = -6.0f;
}  // namespace colladaops
