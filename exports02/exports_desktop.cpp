// Exports of FennickDLL02: keystroke typing, clipboard, version check and
// the launch stub.
#include "DesktopWin.h"
#include "ExportGuard.h"
#include "FennickApi.h"

using fennick::guarded;
namespace dw = fennick::desktopwin;

FENNICK_EXPORT_C float PasteText(char* text, double, char*) {
  return guarded([&] { return dw::typeText(text); });
}

FENNICK_EXPORT_C float CopyToClipboard(char* text, double, char*) {
  return guarded([&] { return dw::copyToClipboard(text); });
}

FENNICK_EXPORT_C float checkPlaxioVersion(char* text, double, char*) {
  return guarded([&] { return dw::checkVersionMarkers(text); });
}

FENNICK_EXPORT_C float RunApp(char* text, double, char*) {
  return guarded([&] { return dw::runApp(text); });
}
