// Portable parts of the Windows desktop functions: the keystroke plan, the
// version-marker check and the launch stub.
#include "DesktopWin.h"

#include <cstring>

#include "TextOps.h"

namespace fennick {
namespace desktopwin {

using fennick::Status;

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

void typeText(const char* text) {
  if (text) sendKeyInputs(planKeystrokes(text));
}

namespace {
constexpr size_t kVersionHead = 100;  // bytes looked at
constexpr size_t kLastStart = 96;     // last start offset of a marker
}  // namespace

bool hasVersionMarkers(const unsigned char* data, size_t size) noexcept {
  // Zero padding: bytes past the end of a short input match no marker.
  char head[kVersionHead + 4] = {};
  if (data && size) std::memcpy(head, data, size < kVersionHead ? size : kVersionHead);
  bool year = false;
  bool version = false;
  for (size_t offset = 0; offset <= kLastStart; ++offset) {
    const char* at = head + offset;
    if (std::memcmp(at, "2009", 4) == 0) year = true;
    if (*at == '4' || std::memcmp(at, "BETA", 4) == 0) version = true;
  }
  return year && version;
}

fennick::Status checkVersionMarkers(const char* path, bool& marked) noexcept {
  marked = false;
  if (!path) return Status::NullArgument;
  textops::FilePtr file = textops::openRead(path);
  if (!file) return Status::OpenFailed;
  unsigned char head[kVersionHead];
  const size_t n = textops::readFully(file.get(), head, kVersionHead);
  if (std::ferror(file.get())) return Status::OpenFailed;
  marked = hasVersionMarkers(head, n);
  return Status::Ok;
}

fennick::Status runApp(const char* text) noexcept {
  return text ? Status::Ok : Status::NullArgument;
}

}  // namespace desktopwin
}  // namespace fennick
