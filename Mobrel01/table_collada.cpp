// FennickDLL's C++ names for the COLLADA export, over ColladaOps: the header
// texts kept between calls and the two writers.
#include "ColladaOps.h"
#include "Common.h"
#include "FennickDLL.h"

namespace {

using colladaops::Layout;
using fennick::Status;

constexpr fennick::ResultCode kCollada[] = {
    {Status::OpenFailed, -1.0f},    {Status::CreateFailed, -2.0f},
    {Status::TooManyGroups, -3.0f}, {Status::BadFace, -4.0f},
    {Status::WriteFailed, -5.0f},   {Status::OutputIsInput, -6.0f},
    {Status::NullArgument, fennick::kResultNullArgument},
    {Status::NoMemory, fennick::kResultNoMemory}};

// A null path changes nothing; otherwise the writer's texts are set in
// fileHeader first, whatever becomes of the export.
float writeWith(const char* objPath, const char* outputPath, int normalMode, Layout layout) {
  if (!objPath || !outputPath) return fennick::resultOf(Status::NullArgument, kCollada);
  colladaops::DocumentTexts texts;
  texts.textureName = fileHeader.textureName;
  texts.dateTime = fileHeader.dateTime;
  colladaops::setWriterTexts(texts, outputPath, layout);
  fileHeader.modelName = texts.modelName;
  fileHeader.author = texts.author;
  fileHeader.copyright = texts.copyright;
  fileHeader.comments = texts.comments;
  return fennick::resultOf(
      colladaops::exportDocument(objPath, outputPath, normalMode, layout, texts), kCollada);
}

}  // namespace

colHeader fileHeader;

void setTextureName(const char* text) { fileHeader.textureName.assign(text ? text : ""); }

void setDateTime(const char* text) { fileHeader.dateTime.assign(text ? text : ""); }

void CalculateSurfaceNormal(float* p, bool normalise) {
  colladaops::surfaceNormal(p, normalise, p + 9);
}

float OBJtoCOLLADA(const char* objPath, char* outputPath, int normalMode) noexcept {
  return fennick::guarded([&] { return writeWith(objPath, outputPath, normalMode, Layout::Polylist); });
}

float OBJtoCOLLADATris(const char* objPath, char* outputPath, int normalMode) noexcept {
  return fennick::guarded(
      [&] { return writeWith(objPath, outputPath, normalMode, Layout::Triangles); });
}
