// Exports of FennickDLL02: file services (delete, copy, emptying a folder),
// folder listing over the edition's directory stream, run-length
// compression and the name set.
#include <cstdio>
#include <cstring>

#include "Common.h"
#include "DirStream.h"
#include "FennickDLL02.h"
#include "FileOps.h"
#include "NameSet.h"
#include "RunLength.h"

using fennick::guarded;

namespace {

// The one open folder listing of the library, or null. (FennickDLL exports
// its listing as `folder`; this edition keeps its own to itself.)
fileops::DirStream* listing = nullptr;

constexpr float kGetFileNoFolder = -1.0f;
constexpr float kGetFileNoMore = -3.0f;

using fennick::Status;
constexpr fennick::ResultCode kEmptyFolder[] = {{Status::OpenFailed, -1.0f},
                                                {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kOpenFolder[] = {{Status::OpenFailed, -1.0f},
                                               {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kCheckFolder[] = {{Status::OpenFailed, -1.0f},
                                                {Status::NoMemory, fennick::kResultNoMemory}};

void replaceListing(fileops::DirStream* next) {
  if (listing) fileops::closeDirStream(listing);
  listing = next;
}

// A listing still open when the library is unloaded is closed with it.
struct CloseAtUnload {
  ~CloseAtUnload() { replaceListing(nullptr); }
} closeAtUnload;

}  // namespace

// Only the emptying and the name set allocate: they run guarded; the other
// calls throw nothing.

extern "C" float FileDelete(char* text, double, char*) {
  if (!text) return -1.0f;
  return std::remove(text) == 0 ? 0.0f : -1.0f;
}

extern "C" float FileCopyTo(char* text, double, char* block) {
  return fileops::copyFile(text, block);
}

extern "C" float EmptyFolder(char* text, double, char*) {
  if (!text) return -1.0f;
  return guarded([&] { return fennick::resultOf(fileops::clearFolder(text), kEmptyFolder); });
}

extern "C" float OpenFolder(char* text, double, char*) {
  fileops::DirStream* next = nullptr;
  const Status status = fileops::openDirStream(text, next);
  replaceListing(next);
  return fennick::resultOf(status, kOpenFolder);
}

extern "C" float GetFile(char*, double, char* block) {
  if (!listing) return kGetFileNoFolder;
  if (!block) return fennick::kResultNullArgument;
  const char* name = fileops::readDirStream(listing);
  if (!name) return kGetFileNoMore;
  std::strcpy(block, name);
  return 0.0f;
}

extern "C" float CloseFolder(char*, double, char*) {
  if (!listing) return -1.0f;
  replaceListing(nullptr);
  return 0.0f;
}

extern "C" float CheckFolder(char* text, double, char*) {
  fileops::DirStream* next = nullptr;
  const Status status = fileops::openDirStream(text, next);
  replaceListing(next);
  replaceListing(nullptr);
  return fennick::resultOf(status, kCheckFolder);
}

extern "C" float CompressFile(char* text, double, char* block) {
  return runlength::compressFile(text, block);
}

extern "C" float DecompressFile(char* text, double, char* block) {
  return runlength::decompressFile(text, block);
}

extern "C" float CheckName(char* text, double, char* block) {
  return guarded([&] { return nameset::checkName(text, block); });
}

extern "C" float ClearNameSet(char*, double, char*) {
  nameset::clearNameSet();
  return 0.0f;
}
