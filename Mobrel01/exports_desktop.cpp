// Exports of FennickDLL: key-press typing.
#include "AddCocoa.h"
#include "ExportGuard.h"
#include "FennickApi.h"

using fennick::guarded;

FENNICK_EXPORT_C float PasteText(char* text, double, char*) {
  return guarded([&] {
    if (text) DoKeyPress(text);
    return 0.0f;
  });
}
