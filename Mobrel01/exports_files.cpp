// Exports of FennickDLL: file services (delete, copy, rename, emptying a
// folder) and folder listing over the system's directory stream.
#include <dirent.h>

#include <cstdio>
#include <cstring>

#include "ExportGuard.h"
#include "FennickApi.h"
#include "FileOps.h"

using fennick::guarded;

// The one open folder listing of the library, or null.
FENNICK_API DIR* folder = nullptr;

namespace {

constexpr float kGetFileNoFolder = -1.0f;
constexpr float kGetFileNoMore = -3.0f;
constexpr float kGetFileNoBlock = -9.0f;

// Replaces the open listing by `next` (which may be null).
void replaceFolder(DIR* next) {
  if (folder) closedir(folder);
  folder = next;
}

}  // namespace

FENNICK_EXPORT_C float FileDelete(char* text, double, char*) {
  return guarded([&] {
    if (!text) return -1.0f;
    return std::remove(text) == 0 ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float FileCopyTo(char* text, double, char* block) {
  return guarded([&] { return static_cast<float>(fileops::copyFile(text, block)); });
}

FENNICK_EXPORT_C float FileRename(char* text, double, char* block) {
  return guarded([&] {
    if (!text || !block || std::strcmp(text, block) == 0) return -1.0f;
    return std::rename(text, block) == 0 ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float EmptyFolder(char* text, double, char*) {
  return guarded([&] {
    if (!text) return -1.0f;
    return ClearFolder(text) ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float OpenFolder(char* text, double, char*) {
  return guarded([&] {
    replaceFolder(text && *text ? opendir(text) : nullptr);
    return folder ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float GetFile(char*, double, char* block) {
  return guarded([&] {
    if (!folder) return kGetFileNoFolder;
    if (!block) return kGetFileNoBlock;
    dirent* entry = readdir(folder);
    if (!entry) return kGetFileNoMore;
    std::strcpy(block, entry->d_name);
    return 0.0f;
  });
}

FENNICK_EXPORT_C float CloseFolder(char*, double, char*) {
  return guarded([&] {
    if (!folder) return -1.0f;
    replaceFolder(nullptr);
    return 0.0f;
  });
}
