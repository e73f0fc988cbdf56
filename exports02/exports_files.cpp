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
// 0 also when the destination is the source itself (left intact).
constexpr fennick::ResultCode kFileCopyTo[] = {
    {fennick::Status::OutputIsInput, 0.0f},  {fennick::Status::NullArgument, -1.0f},
    {fennick::Status::OpenFailed, -1.0f},    {fennick::Status::CreateFailed, -1.0f},
    {fennick::Status::WriteFailed, -1.0f},   {fennick::Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kEmptyFolder[] = {{Status::OpenFailed, -1.0f},
                                                {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kOpenFolder[] = {{Status::OpenFailed, -1.0f},
                                               {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kCheckFolder[] = {{Status::OpenFailed, -1.0f},
                                                {Status::NoMemory, fennick::kResultNoMemory}};

// CompressFile answers the compression ratio on success.
constexpr fennick::ResultCode kCompressFile[] = {
    {Status::NullArgument, fennick::kResultNullArgument}, {Status::OpenFailed, -1.0f},
    {Status::CreateFailed, -2.0f}, {Status::WriteFailed, -2.0f}, {Status::OutputIsInput, -3.0f},
    {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kDecompressFile[] = {
    {Status::NullArgument, fennick::kResultNullArgument}, {Status::OpenFailed, -1.0f},
    {Status::CreateFailed, -2.0f}, {Status::WriteFailed, -2.0f}, {Status::OutputIsInput, -3.0f},
    {Status::NoMemory, fennick::kResultNoMemory}};
constexpr fennick::ResultCode kCheckName[] = {
    {Status::NullArgument, fennick::kResultNullArgument}};

// The names CheckName handed out since the last ClearNameSet.
nameset::NameSet nameSet;

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
  return fennick::resultOf(fileops::copyFile(text, block), kFileCopyTo);
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
  runlength::Sizes sizes;
  const Status status = runlength::compressFile(text, block, sizes);
  return status == Status::Ok ? runlength::compressionRatio(sizes)
                              : fennick::resultOf(status, kCompressFile);
}

extern "C" float DecompressFile(char* text, double, char* block) {
  return fennick::resultOf(runlength::decompressFile(text, block), kDecompressFile);
}

extern "C" float CheckName(char* text, double, char* block) {
  return guarded([&] { return fennick::resultOf(nameset::checkName(nameSet, text, block), kCheckName); });
}

extern "C" float ClearNameSet(char*, double, char*) {
  nameset::clear(nameSet);
  return 0.0f;
}
