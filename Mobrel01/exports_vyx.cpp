// Exports of FennickDLL: face groups of a VyX file.
#include "ExportGuard.h"
#include "FennickApi.h"
#include "VyXOps.h"

FENNICK_EXPORT_C float getGroups(char* text, double, char*) {
  if (!text) return -9.0f;
  return fennick::guarded([&] { return GetUVGroup(text); });
}
