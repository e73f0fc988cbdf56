// Exports of FennickDLL02: version and vertex counts.
#include "ExportArgs.h"
#include "ExportGuard.h"
#include "FennickApi.h"
#include "VyXOps.h"
#include "leanOBJ.h"

using fennick::guarded;

FENNICK_EXPORT_C float Version(char*, double, char*) { return 2.0f; }

FENNICK_EXPORT_C float GetVertsVyx(char* text, double number, char*) {
  return guarded([&] { return GetVertCountFromVyX(text, fennick::byteCountArg(number)); });
}

FENNICK_EXPORT_C float GetVertsOBJ(char* text, double, char*) {
  return guarded([&] { return getVertexCount(text); });
}
