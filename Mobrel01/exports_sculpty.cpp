// Exports of FennickDLL: sculpt maps and texture-coordinate scaling.
#include "Common.h"
#include "ExportArgs.h"
#include "FennickDLL.h"
#include "ScaleUVs.h"

namespace {

using fennick::Status;

constexpr fennick::ResultCode kScaleUVs[] = {
    {Status::OpenFailed, -1.0f},  {Status::CreateFailed, -2.0f},
    {Status::OutputIsInput, -3.0f}, {Status::WriteFailed, -4.0f},
    {Status::OutOfRange, -5.0f},  {Status::NoMemory, fennick::kResultNoMemory}};

}  // namespace

extern "C" float OBJtoSculpty(char* text, double number, char* block) {
  if (!text || !block) return fennick::kResultNullArgument;
  return exportSculpty(text, block, fennick::flagArg(number));
}

// The factor's range is checked first, even when a path is missing (a NaN
// passes); a missing path then means nothing to do.
extern "C" float ScaleUVs(char* text, double number, char* block) {
  if (number < 0.0 || number > 1.0) return fennick::resultOf(Status::OutOfRange, kScaleUVs);
  if (!text || !block) return 0.0f;
  return fennick::resultOf(scaleuvs::scaleUVFile(text, block, number), kScaleUVs);
}
