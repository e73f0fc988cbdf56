// Exports of FennickDLL02: keystroke typing, clipboard, version check and
// the launch stub.
#include "Common.h"
#include "DesktopWin.h"
#include "FennickDLL02.h"

using fennick::guarded;
namespace dw = fennick::desktopwin;

extern "C" float PasteText(char* text, double, char*) {
  return guarded([&] { return dw::typeText(text); });
}

extern "C" float CopyToClipboard(char* text, double, char*) {
  return guarded([&] { return dw::copyToClipboard(text); });
}

extern "C" float checkPlaxioVersion(char* text, double, char*) {
  return dw::checkVersionMarkers(text);
}

extern "C" float RunApp(char* text, double, char*) { return dw::runApp(text); }
