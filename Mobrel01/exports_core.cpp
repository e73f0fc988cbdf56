// Exports of FennickDLL: version and vertex counts.
#include "ExportArgs.h"
#include "FennickDLL.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

extern "C" float GetVertsVyX(char* text, double number, char*) {
  return GetVertCountFromVyX(text, fennick::byteCountArg(number));
}

extern "C" float GetVertsOBJ(char* text, double, char*) { return getVertexCount(text); }
