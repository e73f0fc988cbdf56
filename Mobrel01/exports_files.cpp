// Exports of FennickDLL: file services (delete, copy, rename, emptying a
// folder) and folder listing over the system's directory stream.
#include <dirent.h>

#include <cstdio>
#include <cstring>

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"

DIR* folder = nullptr;

namespace {

constexpr float kGetFileNoFolder = -1.0f;
constexpr float kGetFileNoMore = -3.0f;

// 0 also when the destination is the source itself (left intact).
constexpr fennick::ResultCode kFileCopyTo[] = {
    {fennick::Status::OutputIsInput, 0.0f},  {fennick::Status::NullArgument, -1.0f},
    {fennick::Status::OpenFailed, -1.0f},    {fennick::Status::CreateFailed, -1.0f},
    {fennick::Status::WriteFailed, -1.0f},   {fennick::Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kEmptyFolder[] = {
    {fennick::Status::OpenFailed, -1.0f}, {fennick::Status::NoMemory, fennick::kResultNoMemory}};

// Replaces the open listing by `next` (which may be null).
void replaceFolder(DIR* next) {
  if (folder) closedir(folder);
  folder = next;
}

// A listing still open when the library is unloaded is closed with it.
struct CloseAtUnload {
  ~CloseAtUnload() { replaceFolder(nullptr); }
} closeAtUnload;

}  // namespace

// The C library's calls below throw nothing: only the emptying, which
// builds paths, runs guarded.

extern "C" float FileDelete(char* text, double, char*) {
  if (!text) return -1.0f;
  return std::remove(text) == 0 ? 0.0f : -1.0f;
}

extern "C" float FileCopyTo(char* text, double, char* block) {
  return fennick::resultOf(fileops::copyFile(text, block), kFileCopyTo);
}

extern "C" float FileRename(char* text, double, char* block) {
  if (!text || !block || std::strcmp(text, block) == 0) return -1.0f;
  return std::rename(text, block) == 0 ? 0.0f : -1.0f;
}

extern "C" float EmptyFolder(char* text, double, char*) {
  if (!text) return -1.0f;
  return fennick::guarded([&] { return fennick::resultOf(fileops::clearFolder(text), kEmptyFolder); });
}

extern "C" float OpenFolder(char* text, double, char*) {
  replaceFolder(text && *text ? opendir(text) : nullptr);
  return folder ? 0.0f : -1.0f;
}

extern "C" float GetFile(char*, double, char* block) {
  if (!folder) return kGetFileNoFolder;
  if (!block) return fennick::kResultNullArgument;
  dirent* entry = readdir(folder);
  if (!entry) return kGetFileNoMore;
  std::strcpy(block, entry->d_name);
  return 0.0f;
}

extern "C" float CloseFolder(char*, double, char*) {
  if (!folder) return -1.0f;
  replaceFolder(nullptr);
  return 0.0f;
}
