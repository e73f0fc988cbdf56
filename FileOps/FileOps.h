// File services behind the exports: file copy, file identity, the check that
// keeps outputs off inputs, output creation, free space. The path name
// functions and the folder emptying this module defines for FennickDLL's
// table (FileNameExtract, FilepathTruncate, ClearFolder, IsDirectory) are
// declared in FennickDLL.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace fileops {

#if defined(_WIN32)
constexpr char kFolderSeparator = '\\';
#else
constexpr char kFolderSeparator = '/';
#endif

// Copies a file byte for byte: 0 copied, kCopyFailed (-1) failed. The
// source is opened (and must not be a folder) before the destination is
// touched; then the destination is deleted and written anew. A destination
// that is the source itself (by another spelling or through a link) is left
// intact and gives 0. A destination that is a folder, device, pipe or
// socket gives -1 and is not touched. A short write, a read error or no
// memory for the copy buffer gives -1 and leaves the partly written
// destination. On POSIX systems a destination the copy creates gets the
// source's permission bits masked by the umask, as cp gives them.
float copyFile(const char* source, const char* destination) noexcept;
constexpr float kCopyFailed = -1.0f;

// Identity of a file: device and inode on POSIX, volume serial number and
// file index on Windows.
struct FileIdentity {
  bool known = false;  // false: no such file, or it cannot be asked
  bool folder = false;
  bool special = false;  // a device, pipe or socket (POSIX)
  uint64_t volume = 0;
  uint64_t index = 0;
  uint64_t size = 0;
  uint32_t permissions = 0666;  // POSIX: the mode's 0777 bits; Windows: 0666
};
FileIdentity identityOf(std::FILE* file) noexcept;
FileIdentity identityOf(const char* path) noexcept;
#if !defined(_WIN32)
FileIdentity identityOfDescriptor(int descriptor) noexcept;
#endif

inline bool sameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.known && b.known && a.volume == b.volume && a.index == b.index;
}

// ---- outputs ----------------------------------------------------------------

// The check every call that writes a file makes before it opens anything
// for writing: true when `output` names the file `input` (the same path,
// another spelling, a symbolic or a hard link). A path that names no
// existing file names no input; an input that is not known matches nothing.
bool namesInput(const char* output, const FileIdentity& input) noexcept;
inline bool namesInput(const char* output, const char* input) noexcept {
  return namesInput(output, identityOf(input));
}

// Creates or truncates `path` for unbuffered binary writing, as
// textops::openWriteRaw does (a pipe nobody reads fails at once). On POSIX
// systems a file it creates gets `permissions` masked by the umask; an
// existing file keeps its own. Null on failure.
std::FILE* createFile(const char* path, uint32_t permissions) noexcept;

// Bytes the process may still write on the file system that holds (or
// would hold) the file `path`; false when that cannot be told.
bool freeSpaceFor(const char* path, uint64_t& bytes) noexcept;

}  // namespace fileops
