// The OBJ model reader and both COLLADA writers on any text, in memory, in
// every normal mode. The first byte picks the mode (-1 to 4) and the layout;
// the model read directly must agree with itself (lists in step, indices in
// range), and the document written from it must be whole.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "ColladaOps.h"
#include "Common.h"
#include "TextOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int mode = int(data[0] % 6) - 1;
  const bool tris = (data[0] / 6) & 1;
  const colladaops::Layout layout =
      tris ? colladaops::Layout::Triangles : colladaops::Layout::Polylist;
  const unsigned char* text = data + 1;
  const size_t length = size - 1;

  auto model = std::make_unique<colModel>();
  const fennick::Status code = colladaops::readModel(text, length, mode, *model);
  if (code == fennick::Status::Ok) {
    int64_t corners = 0;
    if (model->groups.size() > size_t(colladaops::kMaxGroups)) __builtin_trap();
    for (const colGroup& slot : model->groups) {
      int64_t sum = 0;
      for (int32_t n : slot.cornerCounts) {
        if (n < 3) __builtin_trap();
        sum += n;
      }
      if (size_t(sum) != slot.vertexIndices.size ||
          slot.vertexIndices.size != slot.textureIndices.size ||
          size_t(slot.faceCount) != slot.cornerCounts.size)
        __builtin_trap();
      if (mode == 1 && slot.faceNormals.size != 3 * slot.cornerCounts.size) __builtin_trap();
      for (size_t j = 0; j < slot.vertexIndices.size; ++j) {
        if (slot.vertexIndices[j] < 0 || uint64_t(slot.vertexIndices[j]) >= model->positionCount ||
            slot.textureIndices[j] < 0 ||
            // Without texture lines the indices are the vertex numbers.
            (model->textureCount > 0 &&
             uint64_t(slot.textureIndices[j]) >= model->textureCount))
          __builtin_trap();
      }
      for (float f : slot.faceNormals)
        if (f != f) __builtin_trap();
      corners += sum;
    }
    if (corners != model->totalCorners) __builtin_trap();
    for (const aVertex& v : model->vertices)
      if (v.nx != v.nx || v.ny != v.ny || v.nz != v.nz) __builtin_trap();
  } else if (code != fennick::Status::TooManyGroups && code != fennick::Status::BadFace) {
    __builtin_trap();
  }
  if (code != fennick::Status::Ok) return 0;

  colladaops::DocumentTexts texts;
  colladaops::setWriterTexts(texts, "/fuzz/out.dae", layout);
  std::string doc;
  textops::OutFile out;
  if (textops::openOutMemory(out, doc, 4096) != fennick::Status::Ok) return 0;
  colladaops::writeModel(out, *model, mode, layout, texts);
  if (!textops::closeOut(out)) return 0;  // no memory for the document
  {
    // No NaN or infinity in the written normals (the OBJ texts are copied as
    // they are, so only the normals array is looked at). Its line is found by
    // its start: copied OBJ text holds no line feed, so it cannot pose as it.
    const std::string name = tris ? "out_" : "out";
    size_t at = doc.find("\n          <float_array id=\"" + name + "-normals-array\" count=\"");
    if (at != std::string::npos) {
      size_t end = doc.find("</float_array>", at);
      std::string normals = doc.substr(at, end - at);
      if (normals.find("nan") != std::string::npos || normals.find("inf") != std::string::npos)
        __builtin_trap();
    }
    if (doc.size() < 13 || doc.compare(doc.size() - 13, 13, "</COLLADA>\n\n\n") != 0)
      __builtin_trap();
  }
  return 0;
}
