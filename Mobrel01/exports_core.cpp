// Exports of FennickDLL: version and vertex counts.
#include "FennickDLL.h"
#include "VertexCounts.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

extern "C" float GetVertsVyX(char* text, double number, char*) {
  return fennick::vertsVyXExport(text, number);
}

extern "C" float GetVertsOBJ(char* text, double, char*) { return fennick::vertsOBJExport(text); }
