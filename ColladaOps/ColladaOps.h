// COLLADA export: the header texts shared by every written document, the
// OBJ model the writers read, and the polygon-list and triangle writers.
#pragma once

#include <functional>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FennickApi.h"
#include "PodArray.h"

// ---- header texts -----------------------------------------------------------

// The texts every document carries. textureName and dateTime are set by the
// script and kept between exports; the writers set the other four at the
// start of every call.
struct colHeader {
  std::string modelName;
  std::string textureName;
  std::string author;
  std::string copyright;
  std::string comments;
  std::string dateTime;
};

// The one instance, library-wide.
FENNICK_API extern colHeader fileHeader;

// Replace textureName / dateTime with a copy of text; null stores an empty
// text.
FENNICK_API void setTextureName(const char* text);
FENNICK_API void setDateTime(const char* text);

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
// are computed. Result: 0, or one of the writers' negative codes below
// (open failed, too many groups, bad face; -99 out of memory).
int readColModel(const char* objPath, int normalMode, colModel& model);

// p[0..8]: three corners; p[9..11] receives (P1 - P0) x (P2 - P0), divided
// by its length when normalise is set (0 0 0 when it has no length).
FENNICK_API void CalculateSurfaceNormal(float* p, bool normalise);

// ---- writers ------------------------------------------------------------------

// OBJ file to a COLLADA 1.4.1 document: one polylist per group.
//   0 written; -1 OBJ file cannot be opened; -2 output cannot be opened;
//   -3 more than 1024 distinct group lines; -4 a face corner that is not a
//   vertex index (optionally /texture index, /normal index) within the
//   file's lists; -5 the document fell short; -6 the output names the OBJ
//   file; -9 null path. -1, -3, -4, -6, -9: output not touched.
FENNICK_API float OBJtoCOLLADA(const char* objPath, char* outputPath, int normalMode);
// The same with one material per group and a triangles element per group.
FENNICK_API float OBJtoCOLLADATris(const char* objPath, char* outputPath, int normalMode);

namespace colladaops {
constexpr int kResultOpenFailed = -1;
constexpr int kResultOutputFailed = -2;
constexpr int kResultTooManyGroups = -3;
constexpr int kResultBadFace = -4;
// The document could not be written completely (a full disk); the file stays
// as far as it got.
constexpr int kResultWriteFailed = -5;
// The output path names the OBJ file (the same path, another spelling, a
// symbolic or a hard link): refused before anything is read or written.
constexpr int kResultOutputIsInput = -6;
constexpr int kResultNullArgument = -9;
}  // namespace colladaops
