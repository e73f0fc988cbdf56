// Exports of FennickDLL02: keystroke typing, clipboard, version check and
// the launch stub.
#include "Common.h"
#include "DesktopWin.h"
#include "FennickDLL02.h"

using fennick::guarded;
using fennick::Status;
namespace dw = fennick::desktopwin;

namespace {

// CopyToClipboard: 0 on the clipboard and pasted, -1 on the clipboard but
// no "Plaxio" window to paste into.
constexpr float kClipboardPasted = 0.0f;
constexpr float kClipboardNoWindow = -1.0f;
constexpr fennick::ResultCode kCopyToClipboard[] = {
    {Status::NullArgument, fennick::kResultNullArgument},
    {Status::NoMemory, fennick::kResultNoMemory},
    {Status::WriteFailed, -2.0f}};  // the clipboard cannot be opened or refused the text

// checkPlaxioVersion: -1 both markers, 0 not both (a null path too).
constexpr float kVersionMarked = -1.0f;
constexpr float kVersionNoMarkers = 0.0f;
constexpr fennick::ResultCode kCheckPlaxioVersion[] = {
    {Status::NullArgument, kVersionNoMarkers}, {Status::OpenFailed, -17.0f}};

constexpr fennick::ResultCode kRunApp[] = {{Status::NullArgument, -1.0f}};

}  // namespace

extern "C" float PasteText(char* text, double, char*) {
  return guarded([&] {
    dw::typeText(text);
    return 0.0f;
  });
}

extern "C" float CopyToClipboard(char* text, double, char*) {
  return guarded([&] {
    bool pasted = false;
    const Status status = dw::copyToClipboard(text, pasted);
    if (status != Status::Ok) return fennick::resultOf(status, kCopyToClipboard);
    return pasted ? kClipboardPasted : kClipboardNoWindow;
  });
}

extern "C" float checkPlaxioVersion(char* text, double, char*) {
  bool marked = false;
  const Status status = dw::checkVersionMarkers(text, marked);
  if (status != Status::Ok) return fennick::resultOf(status, kCheckPlaxioVersion);
  return marked ? kVersionMarked : kVersionNoMarkers;
}

extern "C" float RunApp(char* text, double, char*) {
  return fennick::resultOf(dw::runApp(text), kRunApp);
}
