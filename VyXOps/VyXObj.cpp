// VyX to OBJ conversion and the vertex colour export. Both write the same
// RGB comment block; the whole input is held in memory, the output streams
// through one buffered writer.
#include <cstring>

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "TextOps.h"
#include "VyXOps.h"

namespace {

constexpr std::string_view kRgbHeader =
    "# The following RGB block contains Plaxio Vertex Color (Pigmora) output as 3 "
    "hexadecimal values per vertex. The vertex color format is RRGGBB with up to 32 "
    "entries per RGB line.\n";
constexpr std::string_view kRgbEnd = "# End of RGB block\n";
constexpr size_t kColourRecord = 4;
constexpr size_t kVertexRecord = 12;
constexpr size_t kFaceRecord = 16;

float asFloat(const unsigned char* p) {
  uint32_t bits = vyx::u32le(p);
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The result for a block tag that is not the expected one: the tag itself,
// except that a tag of 0 would read as success.
float wrongTag(uint32_t tag) {
  return tag == 0 ? vyx::kResultZeroTag : static_cast<float>(tag);
}

// The RGB block of `count` records (blue, green, red, unused) at `records`.
void putColourBlock(textops::OutFile& out, const unsigned char* records, uint64_t count) {
  static const char kHex[] = "0123456789abcdef";
  textops::put(out, kRgbHeader);
  char line[5 + 32 * 7 + 1];
  std::memcpy(line, "#RGB ", 5);
  uint64_t k = 0;
  while (k < count) {
    uint64_t inLine = count - k < 32 ? count - k : 32;
    char* w = line + 5;
    for (uint64_t i = 0; i < inLine; ++i, records += kColourRecord) {
      *w++ = ' ';
      for (int c = 2; c >= 0; --c) {  // red, green, blue
        *w++ = kHex[records[c] >> 4];
        *w++ = kHex[records[c] & 15];
      }
    }
    k += inLine;
    if (inLine == 32) *w++ = '\n';  // a full line ends after its 32nd entry
    textops::put(out, line, size_t(w - line));
  }
  textops::putChar(out, '\n');  // ends a partial line, or stands empty
  textops::put(out, kRgbEnd);
}

float convertToObj(const unsigned char* data, size_t size, const char* objPath,
                   const fileops::OutputRules& rules) {
  // Everything the file must hold before the OBJ file is created.
  if (size < 36) return vyx::kResultPastEnd;
  uint32_t first = vyx::u32le(data + 32);
  if (first != vyx::kTagVertices) return wrongTag(first);
  if (size < 44) return vyx::kResultPastEnd;
  uint64_t nv = vyx::u32le(data + 40);
  uint64_t s1 = vyx::u32le(data + 36);
  if (32 + s1 + 8 > size) return vyx::kResultPastEnd;
  uint64_t s2 = vyx::u32le(data + 32 + s1 + 4);
  if (32 + s1 + s2 + 12 > size) return vyx::kResultPastEnd;
  uint32_t nf = vyx::u32le(data + 32 + s1 + s2 + 8);
  uint64_t q = 48 + kVertexRecord * nv;
  if (q > size) return vyx::kResultPastEnd;

  fileops::Output output;
  if (fennick::Status status = fileops::openOutput(output, objPath, rules);
      status != fennick::Status::Ok) {
    return fennick::resultOf(status, {{fennick::Status::CreateFailed, vyx::kResultCreateFailed}, {fennick::Status::OutputIsInput, vyx::kResultOutputIsInput}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
  }
  textops::OutFile& out = output.out;
  textops::put(out, "# File exported by Plaxio plugin\n#Vertex count ");
  textops::putUInt(out, nv);
  textops::put(out, "\n#Face count ");
  textops::putInt(out, int32_t(nf));
  textops::putChar(out, '\n');
  const unsigned char* v = data + 48;
  for (uint64_t i = 0; i < nv; ++i, v += kVertexRecord) {
    textops::put(out, "v ", 2);
    textops::putG6(out, asFloat(v));
    textops::putChar(out, ' ');
    textops::putG6(out, asFloat(v + 4));
    textops::putChar(out, ' ');
    textops::putG6(out, asFloat(v + 8));
    textops::putChar(out, '\n');
  }

  // A failure from here on returns before closeOutput: the OBJ file is left
  // as it was. Colour block right after the vertex records.
  if (q + 4 > size) return vyx::kResultPastEnd;
  uint32_t tag = vyx::u32le(data + q);
  if (tag != vyx::kTagColours) return wrongTag(tag);
  if (q + 12 > size) return vyx::kResultPastEnd;
  uint64_t nc = vyx::u32le(data + q + 8);
  uint64_t r = q + 16 + kColourRecord * nc;
  if (r > size) return vyx::kResultPastEnd;
  putColourBlock(out, data + q + 16, nc);

  // Face block right after the colour records.
  if (r + 4 > size) return vyx::kResultPastEnd;
  tag = vyx::u32le(data + r);
  if (tag != vyx::kTagFaces) return wrongTag(tag);
  if (r + 8 > size) return vyx::kResultPastEnd;
  const uint64_t faceStart = r + 16, faceEnd = r + vyx::u32le(data + r + 4);
  // The headings and faces that will be written, checked against the data
  // before any face line is.
  size_t headings = 0;
  for (uint64_t d = faceStart; headings < faceID.size() && d < faceEnd; ++headings) {
    d += kFaceRecord * uint64_t(faceID[headings]);
    if (d > size) return vyx::kResultPastEnd;
  }
  const unsigned char* f = data + faceStart;
  char line[4 * 12 + 8];
  for (size_t g = 0; g < headings; ++g) {
    textops::put(out, "#FaceID ", 8);
    textops::putUInt(out, uint64_t(g) + 1);
    textops::putChar(out, '\n');
    for (uint32_t j = faceID[g]; j > 0; --j, f += kFaceRecord) {
      char* w = line;
      *w++ = 'f';
      for (int c = 0; c < 3; ++c) {
        *w++ = ' ';
        w += textops::formatInt(int32_t(vyx::u32le(f + 4 * c) + 1u), w);
      }
      *w++ = ' ';
      int32_t fourth = int32_t(vyx::u32le(f + 12) + 1u);
      if (fourth > 0) w += textops::formatInt(fourth, w);
      *w++ = '\n';
      textops::put(out, line, size_t(w - line));
    }
  }
  if (!fileops::closeOutput(output)) return vyx::kResultCreateFailed;
  faceID.clear();
  return 0.0f;
}

}  // namespace

float writeOBJfromVyx(const char* vyxPath, char* objPath) noexcept {
  return fennick::guarded([&] {
    if (faceID.empty()) return vyx::kResultNoFaceIDs;
    textops::FilePtr in = textops::openRead(vyxPath);
    const fileops::OneInput from(in.get());
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(in.get(), file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    in.reset();
    if (fileops::namesInput(objPath, from.identity)) return vyx::kResultOutputIsInput;
    return convertToObj(file.data.get(), file.size, objPath, from.rules);
  });
}

float ReadVertColorVyx(const char* vyxPath, char* textPath) noexcept {
  return fennick::guarded([&] {
    textops::FilePtr in = textops::openRead(vyxPath);
    const fileops::OneInput from(in.get());
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(in.get(), file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    in.reset();
    if (fileops::namesInput(textPath, from.identity)) return vyx::kResultOutputIsInput;
    if (file.size < 48) return vyx::kResultPastEnd;
    uint64_t nc = vyx::u32le(file.data.get() + 40);
    if (kColourRecord * nc > file.size - 48) return vyx::kResultPastEnd;
    fileops::Output output;
    if (fennick::Status status = fileops::openOutput(output, textPath, from.rules);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::CreateFailed, vyx::kResultCreateFailed}, {fennick::Status::OutputIsInput, vyx::kResultOutputIsInput}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    putColourBlock(output.out, file.data.get() + 48, nc);
    return fileops::closeOutput(output) ? 0.0f : vyx::kResultCreateFailed;
  });
}
