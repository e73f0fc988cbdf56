// Linux stand-ins for the Windows desktop services: there is no SendInput,
// so key inputs go nowhere; the clipboard is a process-local text, and no
// window titled "Plaxio" exists, so a copy always reports -1.
#include <string>

#include "Common.h"
#include "DesktopWin.h"

namespace fennick {
namespace desktopwin {

namespace {
std::string& clipboard() {
  static std::string text;
  return text;
}
}  // namespace

void sendKeyInputs(const std::vector<KeyInput>&) {}

float copyToClipboard(const char* text) {
  if (!text) return kResultNullArgument;
  clipboard() = text;
  return kClipboardNoWindow;
}

std::string standInClipboardText() { return clipboard(); }

}  // namespace desktopwin
}  // namespace fennick
