// Exports of FennickDLL02: file services (delete, copy, emptying a folder),
// folder listing over the edition's directory stream, run-length
// compression and the name set.
#include <cstdio>
#include <cstring>

#include "DirStream.h"
#include "ExportGuard.h"
#include "FennickApi.h"
#include "FileOps.h"
#include "FileServices.h"

using fennick::guarded;

// The one open folder listing of the library, or null.
fileops::DirStream* folder = nullptr;

namespace {

constexpr float kGetFileNoFolder = -1.0f;
constexpr float kGetFileNoMore = -3.0f;

void replaceFolder(fileops::DirStream* next) {
  if (folder) fileops::closeDirStream(folder);
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

FENNICK_EXPORT_C float EmptyFolder(char* text, double, char*) {
  return guarded([&] {
    if (!text) return -1.0f;
    return ClearFolder(text) ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float OpenFolder(char* text, double, char*) {
  return guarded([&] {
    replaceFolder(fileops::openDirStream(text));
    return folder ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float GetFile(char*, double, char* block) {
  return guarded([&] {
    if (!folder) return kGetFileNoFolder;
    if (!block) return fileservices::kResultNullArgument;
    const char* name = fileops::readDirStream(folder);
    if (!name) return kGetFileNoMore;
    std::strcpy(block, name);
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

FENNICK_EXPORT_C float CheckFolder(char* text, double, char*) {
  return guarded([&] {
    replaceFolder(fileops::openDirStream(text));
    const bool opened = folder != nullptr;
    replaceFolder(nullptr);
    return opened ? 0.0f : -1.0f;
  });
}

FENNICK_EXPORT_C float CompressFile(char* text, double, char* block) {
  return guarded([&] { return fileservices::compressFile(text, block); });
}

FENNICK_EXPORT_C float DecompressFile(char* text, double, char* block) {
  return guarded([&] { return fileservices::decompressFile(text, block); });
}

FENNICK_EXPORT_C float CheckName(char* text, double, char* block) {
  return guarded([&] { return fileservices::checkName(text, block); });
}

FENNICK_EXPORT_C float ClearNameSet(char*, double, char*) {
  return guarded([&] {
    fileservices::clearNameSet();
    return 0.0f;
  });
}
