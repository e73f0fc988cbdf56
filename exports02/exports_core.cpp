// Exports of FennickDLL02: version and vertex counts. The counts are
// FennickDLL's operations (declared in FennickDLL.h, where that edition
// exports them); this edition keeps them internal.
#include "ExportArgs.h"
#include "FennickDLL.h"
#include "FennickDLL02.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

extern "C" float GetVertsVyx(char* text, double number, char*) {
  return GetVertCountFromVyX(text, fennick::byteCountArg(number));
}

extern "C" float GetVertsOBJ(char* text, double, char*) { return getVertexCount(text); }
