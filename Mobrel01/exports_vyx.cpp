// Exports of FennickDLL: face groups of a VyX file.
#include "Common.h"
#include "FennickDLL.h"

extern "C" float getGroups(char* text, double, char*) {
  if (!text) return fennick::kResultNullArgument;
  return GetUVGroup(text);
}
