// Exports of FennickDLL: key-press typing.
#include "Common.h"
#include "FennickDLL.h"

extern "C" float PasteText(char* text, double, char*) {
  return fennick::guarded([&] {
    if (text) DoKeyPress(text);
    return 0.0f;
  });
}
