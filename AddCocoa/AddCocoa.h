// Desktop functions of FennickDLL (macOS): typing a text by key presses
// through the current keyboard layout, the general pasteboard's text, a
// file-open dialog whose chosen files are handed out one at a time, folder
// creation, the local users folder.
//
// The global functions are the edition's interface for linked code (exported
// under their C++ names). Texts handed out are new[] buffers of exactly the
// UTF-8 length plus 1, owned by the caller (release with delete[]); null
// means no text. Everything the platform does not decide lives in namespace
// fennick::cocoa and is portable; the Apple calls are in AddCocoa_mac.mm,
// Linux builds use the stand-ins of AddCocoa_linux.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FennickApi.h"

#if defined(__APPLE__) && defined(__OBJC__)
@class NSString;
#endif

// Types the text into the focused window, one key press per byte, then
// presses Return. Null text: nothing typed.
FENNICK_API void DoKeyPress(char* text);

#if defined(__APPLE__)
#if defined(__OBJC__)
// The text key `keyCode` produces on the current layout with no modifiers,
// lower-cased; nil when it produces none.
FENNICK_API NSString* keyCodeToString(unsigned short keyCode);
#endif
#else
// Linux stand-in: the same for the built-in US layout, as UTF-8; "" for none.
FENNICK_API std::string keyCodeToString(unsigned short keyCode);
#endif

// The general pasteboard's plain text as a new UTF-8 buffer, or null when it
// holds none or the text cannot be converted. Linux: always null.
FENNICK_API char* getPasteboardText();

// Runs a modal open dialog titled `title` that accepts the file types
// (extensions) of `types`, split at every ',' with empty pieces kept and
// nothing trimmed; files only, several at once. Confirmed: the chosen files
// replace filesList and their count is returned. Cancelled: 0, filesList
// unchanged. Null or non-UTF-8 title or types: 0 without a dialog.
// Linux: no dialog exists; behaves as cancelled.
FENNICK_API int runCocoaOpenFileBrowser(const char* title, const char* types);

// filesList[index] with symbolic links resolved, as a new UTF-8 buffer; null
// when the list is empty, the index is outside it, or the text cannot be
// converted.
FENNICK_API char* fileFromArray(int index);

// Empties filesList.
FENNICK_API void clearFilesL();

// Creates one folder (parents must exist). True when it was created; false
// for any failure (exists, missing parent, no permission) and a null path.
FENNICK_API bool createFolder(const char* path);

// The local users folder (on macOS "/Users") as a new buffer, or null.
// Linux: "/home" when it is a folder, else null.
FENNICK_API char* getSharedFolder();

// Always 0.
FENNICK_API int getScreenPos();

// The files chosen in the last confirmed dialog, as UTF-8 paths in the
// dialog's order ("" for a path that could not be converted).
FENNICK_API extern std::vector<std::string> filesList;

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

// What a confirmed dialog does: the chosen paths replace filesList; returns
// their count.
int storeChosenFiles(std::vector<std::string> paths);

// ---- platform (AddCocoa_mac.mm, stand-ins in AddCocoa_linux.cpp) ----------

// keyCodeToString as UTF-8; nothing when the key has no text.
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
