// Windows directory streams over the find-file services. The wide stream
// converts the folder path from the process code page to UTF-16 and each
// entry name back, falling back to the 8.3 alternate name and then to "?"
// when a name does not fit or cannot be represented. The narrow stream
// (folder emptying in the 32-bit build) takes names as the narrow find
// functions deliver them.
#include <windows.h>

#include <cstring>
#include <new>

#include "DirStream.h"

namespace fileops {

namespace {

constexpr int kNameField = 260;     // bytes of an entry name, terminator included
constexpr int kWidePathRoom = 260;  // UTF-16 units of the folder path, terminator included
constexpr size_t kNarrowPathLimit = 256;
constexpr DWORD kNarrowFullRoom = 260;

// The listing reads an entry's name only.
struct Entry {
  char d_name[kNameField];
};

// Converts to the process code page into `out` (kNameField bytes with the
// terminator). The byte count without the terminator, or -1 when the name
// does not fit or holds a character the code page cannot represent.
int toCodePage(const wchar_t* name, char* out) {
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, name,
                              -1, out, kNameField, nullptr, utf8 ? nullptr : &usedDefault);
  if (n <= 0 || usedDefault) return -1;
  return n - 1;
}

}  // namespace

struct DirStream {
  Entry entry{};
  wchar_t* pattern = nullptr;  // absolute folder path, separator and '*'
  char narrowPattern[kNarrowFullRoom] = {};
  HANDLE find = INVALID_HANDLE_VALUE;
  bool firstPending = false;
  bool narrow = false;
  WIN32_FIND_DATAW data{};
  WIN32_FIND_DATAA narrowData{};
};

namespace {

void release(DirStream* s) {
  if (s->find != INVALID_HANDLE_VALUE) FindClose(s->find);
  delete[] s->pattern;
  delete s;
}

void takeWideEntry(DirStream* s) {
  Entry& e = s->entry;
  int n = toCodePage(s->data.cFileName, e.d_name);
  if (n < 0 && s->data.cAlternateFileName[0] != L'\0')
    n = toCodePage(s->data.cAlternateFileName, e.d_name);
  if (n < 0) {
    e.d_name[0] = '?';
    e.d_name[1] = '\0';
  }
}

void takeNarrowEntry(DirStream* s) {
  Entry& e = s->entry;
  size_t n = strnlen(s->narrowData.cFileName, kNameField - 1);
  std::memcpy(e.d_name, s->narrowData.cFileName, n);
  e.d_name[n] = '\0';
}

[[maybe_unused]] fennick::Status openNarrow(const char* path, DirStream*& stream) noexcept {
  stream = nullptr;
  if (!path || !*path || std::strlen(path) > kNarrowPathLimit) return fennick::Status::OpenFailed;
  char full[kNarrowFullRoom];
  DWORD length = GetFullPathNameA(path, kNarrowFullRoom, full, nullptr);
  if (length == 0 || length >= kNarrowFullRoom) return fennick::Status::OpenFailed;
  const char last = full[length - 1];
  const bool addSeparator = last != '\\' && last != ':';
  // Separator, wildcard and terminator must fit the buffer as well.
  if (length + (addSeparator ? 1 : 0) + 2 > kNarrowFullRoom) return fennick::Status::OpenFailed;
  DirStream* s = new (std::nothrow) DirStream;
  if (!s) return fennick::Status::NoMemory;
  s->narrow = true;
  std::memcpy(s->narrowPattern, full, length);
  if (addSeparator) s->narrowPattern[length++] = '\\';
  s->narrowPattern[length++] = '*';
  s->narrowPattern[length] = '\0';
  s->find = FindFirstFileA(s->narrowPattern, &s->narrowData);
  if (s->find == INVALID_HANDLE_VALUE) {
    release(s);
    return fennick::Status::OpenFailed;
  }
  s->firstPending = true;
  stream = s;
  return fennick::Status::Ok;
}

}  // namespace

fennick::Status openDirStream(const char* path, DirStream*& stream) noexcept {
  stream = nullptr;
  if (!path || !*path) return fennick::Status::OpenFailed;
  wchar_t wide[kWidePathRoom];
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, kWidePathRoom) <= 0)
    return fennick::Status::OpenFailed;  // does not fit (260 characters or more) or does not convert
  DWORD need = GetFullPathNameW(wide, 0, nullptr, nullptr);
  if (need == 0) return fennick::Status::OpenFailed;
  DirStream* s = new (std::nothrow) DirStream;
  if (!s) return fennick::Status::NoMemory;
  const DWORD room = need + 16;  // separator, wildcard, terminator
  s->pattern = new (std::nothrow) wchar_t[room];
  if (!s->pattern) {
    release(s);
    return fennick::Status::NoMemory;
  }
  DWORD length = GetFullPathNameW(wide, room, s->pattern, nullptr);
  if (length == 0 || length + 3 > room) {
    release(s);
    return fennick::Status::OpenFailed;
  }
  const wchar_t last = s->pattern[length - 1];
  if (last != L'/' && last != L'\\' && last != L':') s->pattern[length++] = L'\\';
  s->pattern[length++] = L'*';
  s->pattern[length] = L'\0';
  s->find = FindFirstFileW(s->pattern, &s->data);
  if (s->find == INVALID_HANDLE_VALUE) {
    release(s);
    return fennick::Status::OpenFailed;
  }
  s->firstPending = true;
  stream = s;
  return fennick::Status::Ok;
}

fennick::Status openFolderWalk(const char* path, DirStream*& stream) noexcept {
#if defined(_WIN64)
  return openDirStream(path, stream);
#else
  return openNarrow(path, stream);
#endif
}

const char* readDirStream(DirStream* s) noexcept {
  if (!s) return nullptr;
  if (s->firstPending) {
    s->firstPending = false;
  } else {
    if (s->find == INVALID_HANDLE_VALUE) return nullptr;
    BOOL found = s->narrow ? FindNextFileA(s->find, &s->narrowData)
                           : FindNextFileW(s->find, &s->data);
    if (!found) {
      FindClose(s->find);
      s->find = INVALID_HANDLE_VALUE;
      return nullptr;
    }
  }
  if (s->narrow)
    takeNarrowEntry(s);
  else
    takeWideEntry(s);
  return s->entry.d_name;
}

void closeDirStream(DirStream* s) noexcept {
  if (s) release(s);
}

}  // namespace fileops
