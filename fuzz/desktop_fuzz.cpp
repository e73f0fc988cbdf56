// Typing plans of both editions, the file-type split and the version-marker
// check on any bytes, in memory.
#include <cstdint>
#include <string>

#include "AddCocoa.h"
#include "DesktopWin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string cut = text.substr(0, text.find('\0'));  // what a C string holds
  size_t typed = 0;
  for (unsigned char c : cut) typed += c < 128;

  // Windows plan: 2 inputs a typed byte, 2 more for a capital, then Return.
  auto win = fennick::desktopwin::planKeystrokes(text.c_str());
  if (win.size() < 2 * typed + 2 || win.size() > 4 * typed + 2) __builtin_trap();
  if (win.back().vk != fennick::desktopwin::kVkReturn || !win.back().keyUp) __builtin_trap();
  for (const auto& k : win)
    if (k.vk > 127) __builtin_trap();

  // macOS plan over the stand-in layout: every press is released, Shift
  // presses pair up, and only table codes, Space or code 0 are used.
  const auto& table = fennick::cocoa::sharedKeyTable();
  auto mac = fennick::cocoa::planTyping(text.c_str(), table);
  if (mac.size() < 2 * typed + 2 || mac.size() > 4 * typed + 2) __builtin_trap();
  int shiftDepth = 0;
  for (size_t i = 0; i < mac.size(); ++i) {
    if (mac[i].keyCode == fennick::cocoa::kKeyShift) {
      shiftDepth += mac[i].down ? 1 : -1;
      if (shiftDepth < 0 || shiftDepth > 1) __builtin_trap();
    } else if (mac[i].down) {
      if (i + 1 >= mac.size() || mac[i + 1].keyCode != mac[i].keyCode || mac[i + 1].down)
        __builtin_trap();
    }
  }
  if (shiftDepth != 0) __builtin_trap();

  auto types = fennick::cocoa::splitFileTypes(text);
  size_t joined = types.size() - 1;
  for (const auto& t : types) joined += t.size();
  if (joined != text.size()) __builtin_trap();

  // The version check against its plain rule over the first 100 bytes.
  const std::string head = text.substr(0, 100);
  bool year = false, version = false;
  for (size_t at = 0; at <= 96 && at < head.size(); ++at) {
    year |= head.compare(at, 4, "2009") == 0;
    version |= head[at] == '4' || head.compare(at, 4, "BETA") == 0;
  }
  if (fennick::desktopwin::hasVersionMarkers(data, size) != (year && version)) __builtin_trap();
  return 0;
}
