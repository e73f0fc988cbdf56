// Exports of FennickDLL: sculpt maps and texture-coordinate scaling.
#include "ExportArgs.h"
#include "ExportGuard.h"
#include "FennickApi.h"
#include "ScaleUVs.h"
#include "SculptyOps.h"

using fennick::guarded;

namespace {
constexpr float kResultNullArgument = -9.0f;
}

FENNICK_EXPORT_C float OBJtoSculpty(char* text, double number, char* block) {
  if (!text || !block) return kResultNullArgument;
  return guarded([&] { return exportSculpty(text, block, fennick::flagArg(number)); });
}

// The factor's range is checked first, even when a path is missing (a NaN
// passes); a missing path then means nothing to do.
FENNICK_EXPORT_C float ScaleUVs(char* text, double number, char* block) {
  if (number < 0.0 || number > 1.0) return scaleuvs::kResultFactorRange;
  if (!text || !block) return 0.0f;
  return guarded([&] { return scaleuvs::scaleUVFile(text, block, number); });
}
