// Directory stream: open a folder, read its entry names one by one, close.
// POSIX builds use the system's opendir/readdir/closedir; Windows builds a
// stream of their own over the find-file services (DirStream_win.cpp).
// Entries come in the order the system yields them, the dot entries
// included.
#pragma once

#include "Common.h"

namespace fileops {

struct DirStream;

// Opens a listing of the folder into `stream`: Ok; OpenFailed when the path
// names no folder that can be listed (null, empty, a file, missing);
// NoMemory when the stream's memory cannot be had. `stream` is null unless
// Ok. On Windows the path is converted from the process code page to UTF-16
// and must be shorter than 260 characters.
fennick::Status openDirStream(const char* path, DirStream*& stream) noexcept;

// The stream the folder emptying walks with: openDirStream, except in the
// 32-bit Windows build, which lists with the narrow-character find-file
// services (path of at most 256 characters, names in the narrow code page).
fennick::Status openFolderWalk(const char* path, DirStream*& stream) noexcept;

// Name of the next entry, or null when there are no more (and at every later
// call). The text stays valid until the next read or the close.
const char* readDirStream(DirStream* stream) noexcept;

void closeDirStream(DirStream* stream) noexcept;

struct DirStreamClose {
  void operator()(DirStream* stream) const noexcept { closeDirStream(stream); }
};

}  // namespace fileops
