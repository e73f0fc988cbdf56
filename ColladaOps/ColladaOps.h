// COLLADA export: the OBJ model the writers read, the texts a document
// carries, and the two writers (one polylist per group, or one material and
// triangles element per group).
#pragma once

#include <functional>
#include <cstddef>
#include <cstdint>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

#include "Common.h"
#include "PodArray.h"
#include "TextOps.h"

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
  // One slot per distinct group line (slot 0 also before the first one).
  std::vector<colGroup> groups = std::vector<colGroup>(1);
  int64_t totalCorners = 0;
};

namespace colladaops {

// The document's layout: one polylist, or one material and triangles
// element per group.
enum class Layout { Polylist, Triangles };

// The texts every document carries (written escaped).
struct DocumentTexts {
  std::string modelName;
  std::string textureName;  // written as ./NAME.bmp
  std::string author;
  std::string copyright;
  std::string comments;
  std::string dateTime;     // written as created and modified
};

// Geometry name from the output path: its file name without extension, words
// (split at blanks) each followed by "_"; a single word stays as it is when
// keepSingleWord is set.
std::string modelName(const std::string& outputPath, bool keepSingleWord);

// Sets the texts a writer of `layout` gives every document written to
// outputPath: the geometry name (a single word kept for the polylist
// layout), author, copyright and comments. The texture name and the date
// stay as they are.
void setWriterTexts(DocumentTexts& texts, const std::string& outputPath, Layout layout);

// corners[0..8]: three corners P0, P1, P2; normal[0..2] receives
// (P1 - P0) x (P2 - P0) in single precision, divided by its length when
// normalise is set (0 0 0 when it has no length). `normal` may be
// corners + 9.
void surfaceNormal(const float* corners, bool normalise, float* normal);

// Reads OBJ text into a fresh model; normalMode (0 or less: none, 1: per
// face, 2: smoothed per vertex, 3 or more: smoothed sums) says which normals
// are computed.
//   Ok, TooManyGroups (more than kMaxGroups distinct group lines), BadFace
//   (a face corner that is not a vertex index, optionally /texture index,
//   /normal index, within the file's lists), NoMemory.
// From a file opened for reading also OpenFailed (null, or a read that
// failed). May throw std::bad_alloc.
fennick::Status readModel(const unsigned char* data, size_t size, int normalMode,
                          colModel& model);
fennick::Status readModel(std::FILE* file, int normalMode, colModel& model);

// Writes the OBJ file at objPath as a COLLADA 1.4.1 document to outputPath,
// through the one output replacement.
//   Ok, NullArgument (a null path), OpenFailed, TooManyGroups, BadFace,
//   OutputIsInput (the output path names the OBJ file: the same path,
//   another spelling, a symbolic or a hard link; refused before anything is
//   read or written), CreateFailed (the output cannot be opened),
//   WriteFailed (the document could not be written completely, a full
//   disk; the target stays as it was), NoMemory.
// May throw std::bad_alloc.
fennick::Status exportDocument(const char* objPath, const char* outputPath, int normalMode,
                               Layout layout, const DocumentTexts& texts);

// Writes the document of a model read with normalMode (Ok from readModel)
// to `out`. May throw std::bad_alloc.
void writeModel(textops::OutFile& out, const colModel& model, int normalMode, Layout layout,
                const DocumentTexts& texts);

// The same for OBJ text in memory, the document written to `out` (opened
// by the caller, left open): Ok, TooManyGroups, BadFace or NoMemory;
// nothing is written on a failure. May throw std::bad_alloc.
fennick::Status writeDocument(const unsigned char* data, size_t size, int normalMode,
                              Layout layout, const DocumentTexts& texts, textops::OutFile& out);

}  // namespace colladaops
