#include <dirent.h>

#include <cerrno>

#include "DirStream.h"

namespace fileops {

// The system's directory stream stands for the stream record itself.
struct DirStream {};

fennick::Status openDirStream(const char* path, DirStream*& stream) noexcept {
  stream = nullptr;
  if (!path || !*path) return fennick::Status::OpenFailed;
  errno = 0;
  stream = reinterpret_cast<DirStream*>(opendir(path));
  if (stream) return fennick::Status::Ok;
  return errno == ENOMEM ? fennick::Status::NoMemory : fennick::Status::OpenFailed;
}

fennick::Status openFolderWalk(const char* path, DirStream*& stream) noexcept {
  return openDirStream(path, stream);
}

const char* readDirStream(DirStream* stream) noexcept {
  if (!stream) return nullptr;
  dirent* entry = readdir(reinterpret_cast<DIR*>(stream));
  return entry ? entry->d_name : nullptr;
}

void closeDirStream(DirStream* stream) noexcept {
  if (stream) closedir(reinterpret_cast<DIR*>(stream));
}

}  // namespace fileops
