// Exports of FennickDLL: key-press typing.
#include "AddCocoa.h"
#include "Common.h"
#include "FennickDLL.h"

extern "C" float PasteText(char* text, double, char*) {
  fennick::cocoa::typeText(text);
  return 0.0f;
}
