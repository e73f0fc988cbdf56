// Portable parts of the macOS desktop functions: the key table, the typing
// plan, the handed-out texts and the file list.
#include "AddCocoa.h"

#include <cstring>
#include <new>
#include <utility>

namespace fennick {
namespace cocoa {

std::optional<std::u16string> layoutKeyText(uint16_t keyCode, const TranslateKey& translate) {
  LayoutTranslation t = translate(keyCode, 0);
  if (t.text.empty()) {
    if (t.deadKeyState == 0) return std::nullopt;
    // A dead key: Space after it gives the dead key's own character.
    t = translate(kKeySpace, t.deadKeyState);
  }
  if (t.status != 0 || t.text.empty()) return std::nullopt;
  return t.text;
}

std::string lowerUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

KeyTable buildKeyTable(const std::function<std::optional<std::string>(uint16_t)>& keyText) {
  KeyTable table;
  for (uint16_t k = 0; k < 128; ++k) {
    std::optional<std::string> text = keyText(k);
    if (text && !text->empty()) table[*text] = k;
  }
  return table;
}

const KeyTable& sharedKeyTable() {
  static const KeyTable table = buildKeyTable(currentLayoutKeyText);
  return table;
}

std::vector<KeyEvent> planTyping(const char* text, const KeyTable& table) {
  std::vector<KeyEvent> events;
  if (!text) return events;
  static const char kShiftedDigits[] = ")!@#$%^&*(";  // index = the digit
  for (const char* p = text; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c > 127) continue;
    bool shifted = false;
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<unsigned char>(c - 'A' + 'a');
      shifted = true;
    }
    if (const char* symbol = std::strchr(kShiftedDigits, c)) {
      c = static_cast<unsigned char>('0' + (symbol - kShiftedDigits));
      shifted = true;
    }
    auto entry = table.find(std::string(1, static_cast<char>(c)));
    uint16_t key = entry == table.end() ? 0 : static_cast<uint16_t>(entry->second);
    if (key == 0 && c != 'a') key = kKeySpace;
    if (shifted) events.push_back({kKeyShift, true});
    events.push_back({key, true});
    events.push_back({key, false});
    if (shifted) events.push_back({kKeyShift, false});
  }
  events.push_back({kKeyReturn, true});
  events.push_back({kKeyReturn, false});
  return events;
}

char* handOutText(size_t byteLength, const std::function<bool(char*, size_t)>& fill) {
  if (byteLength == SIZE_MAX) return nullptr;
  char* buffer = new (std::nothrow) char[byteLength + 1];
  if (!buffer) return nullptr;
  if (!fill(buffer, byteLength + 1)) {
    delete[] buffer;
    return nullptr;
  }
  return buffer;
}

char* handOutCopy(const std::string& text) {
  return handOutText(text.size(), [&](char* buffer, size_t size) {
    std::memcpy(buffer, text.c_str(), size);
    return true;
  });
}

std::vector<std::string> splitFileTypes(const std::string& types) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    size_t comma = types.find(',', start);
    if (comma == std::string::npos) {
      pieces.push_back(types.substr(start));
      return pieces;
    }
    pieces.push_back(types.substr(start, comma - start));
    start = comma + 1;
  }
}

void typeText(const char* text) noexcept {
  if (!text) return;
  try {
    postKeyEvents(planTyping(text, sharedKeyTable()));
  } catch (...) {
    // Out of memory: nothing more is typed; nothing leaves the library.
  }
}

char* resolvedFile(const std::vector<std::string>& files, int index) noexcept {
  try {
    if (index < 0 || static_cast<size_t>(index) >= files.size()) return nullptr;
    const std::string& path = files[static_cast<size_t>(index)];
    if (path.empty()) return nullptr;
    std::optional<std::string> resolved = resolveSymlinks(path);
    if (!resolved) return nullptr;
    return handOutCopy(*resolved);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace cocoa
}  // namespace fennick
