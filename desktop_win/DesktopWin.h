// Desktop functions of FennickDLL02: typing a text by synthetic key presses,
// putting a text on the clipboard and asking the application's window to
// paste it, and the version-marker check of a text file.
//
// The keystroke plan is portable; sending it (SendInput) and the clipboard
// are per platform: *_win.cpp on Windows, stand-ins in *_linux.cpp on Linux.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// Types `text` (see planKeystrokes); nothing for a null text. Always 0.
float typeText(const char* text);

// Results of copyToClipboard, with fennick::kResultNullArgument (-9) for a
// null text and fennick::kResultNoMemory (-99) when a global memory block
// cannot be had (both: clipboard untouched).
constexpr float kClipboardPasted = 0.0f;     // on the clipboard, window pasted
constexpr float kClipboardNoWindow = -1.0f;  // on the clipboard, no "Plaxio" window
// The clipboard could not be opened (another program holds it) or did not
// take the text: nothing pasted.
constexpr float kClipboardUnavailable = -2.0f;

// Puts the text on the clipboard as CF_TEXT, then, when a top-level window
// titled "Plaxio" exists, waits 10 ms and sends it WM_PASTE synchronously.
// When the clipboard cannot be opened or refuses the text: -2, no paste.
// Linux stand-in: the text goes to a process-local clipboard and, as no such
// window exists there, the result is -1.
float copyToClipboard(const char* text);

#if !defined(_WIN32)
// The Linux stand-in clipboard's text ("" before the first copy).
std::string standInClipboardText();
#endif

// Results of checkVersionMarkers.
constexpr float kVersionNoMarkers = 0.0f;
constexpr float kVersionMarked = -1.0f;
constexpr float kVersionCannotOpen = -17.0f;

// Reads the first 100 bytes of the file and looks, at start offsets 0 to 96,
// for "2009" (year marker) and for '4' or "BETA" (version marker): -1 when
// both are there, else 0. Case-sensitive; bytes past the end of a short file
// match nothing. Null path: 0. File that cannot be opened: -17.
float checkVersionMarkers(const char* path) noexcept;

// Launches nothing: -1 for a null text, else 0.
float runApp(const char* text) noexcept;

}  // namespace desktopwin
}  // namespace fennick
