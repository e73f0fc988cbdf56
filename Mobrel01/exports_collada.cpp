// Exports of FennickDLL: COLLADA export settings and the two writers.
#include "ExportArgs.h"
#include "FennickDLL.h"

using fennick::guarded;

extern "C" float setTxrName(char* text, double, char*) {
  return guarded([&] {
    setTextureName(text);
    return 0.0f;
  });
}

extern "C" float setDate(char* text, double, char*) {
  return guarded([&] {
    setDateTime(text);
    return 0.0f;
  });
}

extern "C" float writeCollada(char* text, double number, char* block) {
  if (!text || !block) return fennick::kResultNullArgument;
  return OBJtoCOLLADA(text, block, fennick::toInt32Truncated(number));
}

extern "C" float writeColladaTris(char* text, double number, char* block) {
  if (!text || !block) return fennick::kResultNullArgument;
  return OBJtoCOLLADATris(text, block, fennick::toInt32Truncated(number));
}
