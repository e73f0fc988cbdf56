// Linux stand-ins for the Windows desktop services: there is no SendInput,
// so key inputs go nowhere; the clipboard is a process-local text, and no
// window titled "Plaxio" exists, so nothing is ever pasted.
#include <string>

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

fennick::Status copyToClipboard(const char* text, bool& pasted) {
  pasted = false;
  if (!text) return fennick::Status::NullArgument;
  clipboard() = text;
  return fennick::Status::Ok;
}

std::string standInClipboardText() { return clipboard(); }

}  // namespace desktopwin
}  // namespace fennick
