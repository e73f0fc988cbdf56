// Exports of FennickDLL: sculpt maps and texture-coordinate scaling.
#include "ExportArgs.h"
#include "FennickDLL.h"
#include "ScaleUVs.h"

extern "C" float OBJtoSculpty(char* text, double number, char* block) {
  if (!text || !block) return fennick::kResultNullArgument;
  return exportSculpty(text, block, fennick::flagArg(number));
}

// The factor's range is checked first, even when a path is missing (a NaN
// passes); a missing path then means nothing to do.
extern "C" float ScaleUVs(char* text, double number, char* block) {
  if (number < 0.0 || number > 1.0) return scaleuvs::kResultFactorRange;
  if (!text || !block) return 0.0f;
  return scaleuvs::scaleUVFile(text, block, number);
}
