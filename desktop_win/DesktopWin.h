// Desktop functions of FennickDLL02: typing a text by synthetic key presses,
// putting a text on the clipboard and asking the application's window to
// paste it, and the version-marker check of a text file.
//
// The keystroke plan is portable; sending it (SendInput) and the clipboard
// are per platform: *_win.cpp on Windows, stand-ins in *_linux.cpp on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Common.h"

namespace fennick {
namespace desktopwin {

// Windows virtual-key codes the plan uses beside the characters' own codes.
constexpr uint16_t kVkShift = 0x10;
constexpr uint16_t kVkReturn = 0x0D;

// One keyboard input: a virtual-key code pressed (keyUp false) or released.
struct KeyInput {
  uint16_t vk = 0;
  bool keyUp = false;
};

// The inputs that type `text` and then press Return. Per byte: an upper-case
// letter is sent under its own code between Shift down and Shift up; any
// other byte is upper-cased and sent under its code, so letters, digits and
// the space land on their own keys and punctuation on the key whose code
// equals its character code (no shifted symbols). Bytes above 127 are left
// out: widened as signed bytes they would be codes 0xFF80..0xFFFF, which no
// key has. A null text gives no inputs at all, the empty text only Return.
std::vector<KeyInput> planKeystrokes(const char* text);

// Sends the inputs in order, one SendInput call each; results not examined.
// Linux stand-in: the inputs go nowhere.
void sendKeyInputs(const std::vector<KeyInput>& inputs);

// Types `text` (see planKeystrokes); nothing for a null text.
void typeText(const char* text);

// Puts the text on the clipboard as CF_TEXT, then, when a top-level window
// titled "Plaxio" exists, waits 10 ms and sends it WM_PASTE synchronously
// (`pasted` tells whether it did). NullArgument (null text) and NoMemory (no
// global memory block): clipboard untouched. WriteFailed: the clipboard
// cannot be opened (another program holds it) or did not take the text;
// nothing pasted. Linux stand-in: the text goes to a process-local
// clipboard and, as no such window exists there, nothing is pasted.
fennick::Status copyToClipboard(const char* text, bool& pasted);

#if !defined(_WIN32)
// The Linux stand-in clipboard's text ("" before the first copy).
std::string standInClipboardText();
#endif

// The version markers in the first 100 bytes of [data, data + size): at
// start offsets 0 to 96, "2009" (year marker) and '4' or "BETA" (version
// marker); true when both are there. Case-sensitive; bytes past the end
// match nothing.
bool hasVersionMarkers(const unsigned char* data, size_t size) noexcept;

// hasVersionMarkers over the first 100 bytes of the file into `marked`:
// Ok; NullArgument for a null path; OpenFailed when the file cannot be
// opened or read.
fennick::Status checkVersionMarkers(const char* path, bool& marked) noexcept;

// Launches nothing: NullArgument for a null text, else Ok.
fennick::Status runApp(const char* text) noexcept;

}  // namespace desktopwin
}  // namespace fennick
