// VyX to OBJ conversion and the vertex colour export. Both write the same
// RGB comment block; the whole input is held in memory, the output streams
// through one buffered writer.
#include <cstring>

#include "FileOps.h"
#include "LittleEndian.h"
#include "VyXOps.h"

namespace vyx {

namespace {

constexpr std::string_view kRgbHeader =
    "# The following RGB block contains Plaxio Vertex Color (Pigmora) output as 3 "
    "hexadecimal values per vertex. The vertex color format is RRGGBB with up to 32 "
    "entries per RGB line.\n";
constexpr std::string_view kRgbEnd = "# End of RGB block\n";
constexpr size_t kColourRecord = 4;
constexpr size_t kVertexRecord = 12;
constexpr size_t kFaceRecord = 16;

// A block tag that is not the expected one: WrongTag with the tag, except
// that a tag of 0 has a status of its own.
fennick::Status wrongTag(uint32_t tag, TagFound& found) {
  if (tag == 0) return fennick::Status::ZeroTag;
  found.tag = tag;
  return fennick::Status::WrongTag;
}

}  // namespace

void putColours(const ColourBlock& block, textops::OutFile& out) {
  static const char kHex[] = "0123456789abcdef";
  const unsigned char* records = block.records;
  const uint64_t count = block.count;
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

fennick::Status objHead(const unsigned char* data, size_t size, ObjHead& head, TagFound& found) {
  using fennick::Status;
  if (size < 36) return Status::PastEnd;
  uint32_t first = le::loadU32(data + 32);
  if (first != kTagVertices) return wrongTag(first, found);
  if (size < 44) return Status::PastEnd;
  uint64_t nv = le::loadU32(data + 40);
  uint64_t s1 = le::loadU32(data + 36);
  if (32 + s1 + 8 > size) return Status::PastEnd;
  uint64_t s2 = le::loadU32(data + 32 + s1 + 4);
  if (32 + s1 + s2 + 12 > size) return Status::PastEnd;
  uint32_t nf = le::loadU32(data + 32 + s1 + s2 + 8);
  if (48 + kVertexRecord * nv > size) return Status::PastEnd;
  head.data = data;
  head.size = size;
  head.vertices = nv;
  head.faces = nf;
  return Status::Ok;
}

fennick::Status putObj(const ObjHead& head, const std::vector<uint32_t>& ids,
                       textops::OutFile& out, TagFound& found) {
  using fennick::Status;
  const unsigned char* data = head.data;
  const size_t size = head.size;
  const uint64_t nv = head.vertices;
  textops::put(out, "# File exported by Plaxio plugin\n#Vertex count ");
  textops::putUInt(out, nv);
  textops::put(out, "\n#Face count ");
  textops::putInt(out, int32_t(head.faces));
  textops::putChar(out, '\n');
  const unsigned char* v = data + 48;
  for (uint64_t i = 0; i < nv; ++i, v += kVertexRecord) {
    textops::put(out, "v ", 2);
    textops::putG6(out, le::loadF32(v));
    textops::putChar(out, ' ');
    textops::putG6(out, le::loadF32(v + 4));
    textops::putChar(out, ' ');
    textops::putG6(out, le::loadF32(v + 8));
    textops::putChar(out, '\n');
  }

  // Colour block right after the vertex records.
  const uint64_t q = 48 + kVertexRecord * nv;
  if (q + 4 > size) return Status::PastEnd;
  uint32_t tag = le::loadU32(data + q);
  if (tag != kTagColours) return wrongTag(tag, found);
  if (q + 12 > size) return Status::PastEnd;
  ColourBlock colours;
  colours.count = le::loadU32(data + q + 8);
  colours.records = data + q + 16;
  uint64_t r = q + 16 + kColourRecord * colours.count;
  if (r > size) return Status::PastEnd;
  putColours(colours, out);

  // Face block right after the colour records.
  if (r + 4 > size) return Status::PastEnd;
  tag = le::loadU32(data + r);
  if (tag != kTagFaces) return wrongTag(tag, found);
  if (r + 8 > size) return Status::PastEnd;
  const uint64_t faceStart = r + 16, faceEnd = r + le::loadU32(data + r + 4);
  // The headings and faces that will be written, checked against the data
  // before any face line is.
  size_t headings = 0;
  for (uint64_t d = faceStart; headings < ids.size() && d < faceEnd; ++headings) {
    d += kFaceRecord * uint64_t(ids[headings]);
    if (d > size) return Status::PastEnd;
  }
  const unsigned char* f = data + faceStart;
  char line[4 * 12 + 8];
  for (size_t g = 0; g < headings; ++g) {
    textops::put(out, "#FaceID ", 8);
    textops::putUInt(out, uint64_t(g) + 1);
    textops::putChar(out, '\n');
    for (uint32_t j = ids[g]; j > 0; --j, f += kFaceRecord) {
      char* w = line;
      *w++ = 'f';
      for (int c = 0; c < 3; ++c) {
        *w++ = ' ';
        w += textops::formatInt(int32_t(le::loadU32(f + 4 * c) + 1u), w);
      }
      *w++ = ' ';
      int32_t fourth = int32_t(le::loadU32(f + 12) + 1u);
      if (fourth > 0) w += textops::formatInt(fourth, w);
      *w++ = '\n';
      textops::put(out, line, size_t(w - line));
    }
  }
  return Status::Ok;
}

fennick::Status writeObj(const char* vyxPath, const char* objPath, std::vector<uint32_t>& ids,
                         TagFound& found) {
  using fennick::Status;
  if (ids.empty()) return Status::NoFaceIDs;
  textops::FilePtr in = textops::openRead(vyxPath);
  const fileops::OneInput from(in.get());
  textops::FileBytes file;
  if (Status status = textops::readWholeFile(in.get(), file); status != Status::Ok)
    return status;
  in.reset();
  if (fileops::namesInput(objPath, from.identity)) return Status::OutputIsInput;
  // Everything the file must hold before the OBJ file is created.
  ObjHead head;
  if (Status status = objHead(file.data.get(), file.size, head, found); status != Status::Ok)
    return status;
  fileops::Output output;
  if (Status status = fileops::openOutput(output, objPath, from.rules); status != Status::Ok)
    return status;
  // A failure from here on returns before closeOutput: the OBJ file is left
  // as it was.
  if (Status status = putObj(head, ids, output.out, found); status != Status::Ok)
    return status;
  if (!fileops::closeOutput(output)) return Status::CreateFailed;
  ids.clear();
  return Status::Ok;
}

fennick::Status colourBlock(const unsigned char* data, size_t size, ColourBlock& block) {
  if (size < 48) return fennick::Status::PastEnd;
  uint64_t nc = le::loadU32(data + 40);
  if (kColourRecord * nc > size - 48) return fennick::Status::PastEnd;
  block.records = data + 48;
  block.count = nc;
  return fennick::Status::Ok;
}

fennick::Status writeColours(const char* vyxPath, const char* textPath) {
  using fennick::Status;
  textops::FilePtr in = textops::openRead(vyxPath);
  const fileops::OneInput from(in.get());
  textops::FileBytes file;
  if (Status status = textops::readWholeFile(in.get(), file); status != Status::Ok)
    return status;
  in.reset();
  if (fileops::namesInput(textPath, from.identity)) return Status::OutputIsInput;
  ColourBlock block;
  if (Status status = colourBlock(file.data.get(), file.size, block); status != Status::Ok)
    return status;
  fileops::Output output;
  if (Status status = fileops::openOutput(output, textPath, from.rules); status != Status::Ok)
    return status;
  putColours(block, output.out);
  return fileops::closeOutput(output) ? Status::Ok : Status::CreateFailed;
}

}  // namespace vyx
