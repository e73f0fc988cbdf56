// Exports of FennickDLL: COLLADA export settings and the two writers.
#include "ColladaOps.h"
#include "ExportArgs.h"
#include "ExportGuard.h"
#include "FennickApi.h"

using fennick::guarded;

FENNICK_EXPORT_C float setTxrName(char* text, double, char*) {
  return guarded([&] {
    setTextureName(text);
    return 0.0f;
  });
}

FENNICK_EXPORT_C float setDate(char* text, double, char*) {
  return guarded([&] {
    setDateTime(text);
    return 0.0f;
  });
}

FENNICK_EXPORT_C float writeCollada(char* text, double number, char* block) {
  if (!text || !block) return float(colladaops::kResultNullArgument);
  return guarded([&] { return OBJtoCOLLADA(text, block, fennick::toInt32Truncated(number)); });
}

FENNICK_EXPORT_C float writeColladaTris(char* text, double number, char* block) {
  if (!text || !block) return float(colladaops::kResultNullArgument);
  return guarded(
      [&] { return OBJtoCOLLADATris(text, block, fennick::toInt32Truncated(number)); });
}
