#include <dirent.h>

#include "DirStream.h"

namespace fileops {

// The system's directory stream stands for the stream record itself.
struct DirStream {};

DirStream* openDirStream(const char* path) noexcept {
  if (!path || !*path) return nullptr;
  return reinterpret_cast<DirStream*>(opendir(path));
}

DirStream* openFolderWalk(const char* path) noexcept { return openDirStream(path); }

const char* readDirStream(DirStream* stream) noexcept {
  if (!stream) return nullptr;
  dirent* entry = readdir(reinterpret_cast<DIR*>(stream));
  return entry ? entry->d_name : nullptr;
}

void closeDirStream(DirStream* stream) noexcept {
  if (stream) closedir(reinterpret_cast<DIR*>(stream));
}

}  // namespace fileops
