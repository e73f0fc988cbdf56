// Exports of FennickDLL02: version and vertex counts.
#include "FennickDLL02.h"
#include "VertexCounts.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

extern "C" float GetVertsVyx(char* text, double number, char*) {
  return fennick::vertsVyXExport(text, number);
}

extern "C" float GetVertsOBJ(char* text, double, char*) { return fennick::vertsOBJExport(text); }
