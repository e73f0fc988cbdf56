// Desktop functions of FennickDLL (macOS): typing a text by key presses
// through the current keyboard layout, the general pasteboard's text, a
// file-open dialog whose chosen files are handed out one at a time, folder
// creation, the local users folder.
//
// Everything the platform does not decide lives here in namespace
// fennick::cocoa and is portable; the Apple calls are in AddCocoa_mac.mm,
// Linux builds use the stand-ins of AddCocoa_linux.cpp. FennickDLL's export
// layer defines the edition's C++ names over these operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#if defined(__APPLE__) && defined(__OBJC__)
@class NSString;
#endif

namespace fennick {
namespace cocoa {

// Fixed virtual key codes.
constexpr uint16_t kKeyA = 0;
constexpr uint16_t kKeyReturn = 36;
constexpr uint16_t kKeySpace = 49;
constexpr uint16_t kKeyShift = 56;

// ---- keyboard layout and key table ----------------------------------------

// One key translation of the layout: status 0 on success, the UTF-16 text,
// and the dead-key state after it (non-zero when the key was a dead key).
struct LayoutTranslation {
  int32_t status = 0;
  std::u16string text;
  uint32_t deadKeyState = 0;
};
// Translates a key press (no modifiers) starting from a dead-key state.
using TranslateKey = std::function<LayoutTranslation(uint16_t keyCode, uint32_t deadKeyState)>;

// The text a key produces, before lower-casing: the key alone; for a dead
// key, Space pressed after it (the dead key's own character). Nothing when
// the translation fails or gives no text.
std::optional<std::u16string> layoutKeyText(uint16_t keyCode, const TranslateKey& translate);

// Lower-cases ASCII letters and encodes UTF-8 (what the Linux stand-in and
// the tests use; macOS lower-cases with the full Unicode rules).
std::string lowerUtf8(const std::u16string& text);

// Key table: text a key produces (lower-cased, UTF-8) -> key code.
using KeyTable = std::map<std::string, int>;
// Key codes 0..127 in ascending order; a key with text is stored under it,
// and a later key with the same text replaces the earlier one (highest code
// wins, e.g. the keypad digits over the main row).
KeyTable buildKeyTable(const std::function<std::optional<std::string>(uint16_t)>& keyText);

// The library's key table, built on first use from the current layout and
// kept for the library's lifetime.
const KeyTable& sharedKeyTable();

// ---- typing plan ----------------------------------------------------------

struct KeyEvent {
  uint16_t keyCode = 0;
  bool down = true;
};

// The events that type `text`, then Return. Per byte: A-Z become a-z under
// Shift; !@#$%^&*() become 1234567890 under Shift; the key is the table's
// code for the one-character text, and a missing entry or code 0 becomes
// Space, except for "a" (whose code is 0 on the ANSI layout). Bytes above 127
// are not typed (a UTF-8 sequence has no one-byte key). Null: no events.
std::vector<KeyEvent> planTyping(const char* text, const KeyTable& table);

// ---- handed-out texts -----------------------------------------------------

// A new[] buffer of byteLength + 1 bytes that `fill(buffer, size)` fills with
// the text and its terminator; null when the memory cannot be had or fill
// fails (the buffer is then released, never handed out part-filled).
char* handOutText(size_t byteLength, const std::function<bool(char*, size_t)>& fill);
// The same for bytes already at hand.
char* handOutCopy(const std::string& text);

// ---- file dialog ----------------------------------------------------------

// The allowed file types of a types text: split at every ',', empty pieces
// kept, nothing trimmed ("" gives one empty type).
std::vector<std::string> splitFileTypes(const std::string& types);

// ---- operations behind FennickDLL's desktop functions ---------------------

// Types the text into the focused window one key press per byte through the
// current keyboard layout (planTyping over sharedKeyTable), then presses
// Return. Null text: nothing typed. Running out of memory types nothing
// more; nothing is thrown.
void typeText(const char* text) noexcept;

// Modal open dialog titled `title` for the file types of `types` (see
// splitFileTypes); files only, several at once. Confirmed: `chosen` gets the
// UTF-8 paths in the dialog's order ("" for a path that could not be
// converted) and the answer is true. Cancelled, a null or non-UTF-8
// argument (no dialog), or no memory for the list: false, `chosen` as it
// was. Linux: behaves as cancelled.
bool runOpenDialog(const char* title, const char* types, std::vector<std::string>& chosen);

// files[index] with symbolic links resolved, handed out (see handOutText);
// null when the index is outside the list, the path is empty, the text
// cannot be converted or memory runs out.
char* resolvedFile(const std::vector<std::string>& files, int index) noexcept;

// The general pasteboard's plain text, handed out; null when it holds none
// or it cannot be converted. Linux: always null.
char* pasteboardText();

// Creates one folder (its parent must exist): true when it was created.
bool makeFolder(const char* path);

// The local users folder ("/Users" on macOS; Linux: "/home" when it is a
// folder), handed out, or null.
char* sharedFolder();

// ---- platform (AddCocoa_mac.mm, stand-ins in AddCocoa_linux.cpp) ----------

#if defined(__APPLE__) && defined(__OBJC__)
// The text key `keyCode` produces on the current layout with no modifiers
// (a dead key: its own character), lower-cased; nil when it produces none.
NSString* keyCodeNSString(uint16_t keyCode);
#endif
// keyCodeNSString as UTF-8 (Linux: the built-in US layout); nothing when
// the key has no text.
std::optional<std::string> currentLayoutKeyText(uint16_t keyCode);
// Posts the events in order to the system's input stream.
void postKeyEvents(const std::vector<KeyEvent>& events);
// The path with symbolic links resolved, UTF-8; nothing on a failed
// conversion.
std::optional<std::string> resolveSymlinks(const std::string& path);

#if !defined(__APPLE__)
// Linux stand-in records: the events posted so far, and how many key
// translations were asked of the layout.
const std::vector<KeyEvent>& standInPostedEvents();
int standInLayoutQueries();
#endif

}  // namespace cocoa
}  // namespace fennick
