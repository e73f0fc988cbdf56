// Portable parts of the Windows desktop functions: the keystroke plan, the
// version-marker check and the launch stub.
#include "DesktopWin.h"

#include <cstring>

#include "TextOps.h"

namespace fennick {
namespace desktopwin {

std::vector<KeyInput> planKeystrokes(const char* text) {
  std::vector<KeyInput> inputs;
  if (!text) return inputs;
  for (const char* p = text; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c > 127) continue;  // no key has such a code
    // The C locale's isupper/toupper, spelt out so that a locale the host
    // may have set cannot change what is typed.
    bool shift = c >= 'A' && c <= 'Z';
    if (shift) {
      inputs.push_back({kVkShift, false});
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<unsigned char>(c - 'a' + 'A');
    }
    inputs.push_back({c, false});
    inputs.push_back({c, true});
    if (shift) inputs.push_back({kVkShift, true});
  }
  inputs.push_back({kVkReturn, false});
  inputs.push_back({kVkReturn, true});
  return inputs;
}

float typeText(const char* text) {
  if (!text) return 0.0f;
  sendKeyInputs(planKeystrokes(text));
  return 0.0f;
}

float checkVersionMarkers(const char* path) noexcept {
  if (!path) return kVersionNoMarkers;
  textops::FilePtr file = textops::openRead(path);
  if (!file) return kVersionCannotOpen;
  // Zero padding: bytes past the end of a short file match no marker.
  char head[100 + 4] = {};
  textops::readFully(file.get(), head, 100);
  if (std::ferror(file.get())) return kVersionCannotOpen;
  file.reset();
  bool year = false;
  bool version = false;
  for (int offset = 0; offset <= 96; ++offset) {
    const char* at = head + offset;
    if (std::memcmp(at, "2009", 4) == 0) year = true;
    if (*at == '4' || std::memcmp(at, "BETA", 4) == 0) version = true;
  }
  return year && version ? kVersionMarked : kVersionNoMarkers;
}

float runApp(const char* text) noexcept { return text ? 0.0f : -1.0f; }

}  // namespace desktopwin
}  // namespace fennick
