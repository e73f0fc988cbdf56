// File services behind the exports: file copy, file identity, the check that
// keeps outputs off inputs, output creation, free space. The path name
// functions and the folder emptying this module defines for FennickDLL's
// table (FileNameExtract, FilepathTruncate, ClearFolder, IsDirectory) are
// declared in FennickDLL.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "TextOps.h"

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

// Bytes the process may still write on the file system that holds (or
// would hold) the file `path`; false when that cannot be told.
bool freeSpaceFor(const char* path, uint64_t& bytes) noexcept;

// ---- replacing a file's contents ------------------------------------------
//
// Every call that gives an existing file new contents goes through these:
// openReplacement, writing (through a textops::OutFile), finishReplacement.

// How the new contents take the old ones' place.
enum class ReplaceWay {
  // The file is deleted and created anew under its name (a symbolic link is
  // replaced, not followed) with the permission bits asked for, masked by
  // the umask; a file that cannot be deleted is truncated and keeps its
  // own. A failure part way leaves what was written.
  Recreate,
  // The contents go to a new file beside the file (beside the file a
  // symbolic link names: the link stays), which takes its name once it is
  // completely written, with the old file's permission bits and, where the
  // process may give it, its owner (POSIX). A failure leaves the file as it
  // was and nothing beside it. The file must be writable as itself.
  Beside,
};

struct Replacement {
  ReplaceWay way = ReplaceWay::Recreate;
  std::string target;  // the file replaced (Beside: a symbolic link resolved)
  std::string temp;    // Beside: the new file until it takes the target's name
  // Beside refused because the file has further names (hard links), which
  // a new file would not reach, or its folder takes no new file: only
  // rewriteTail can give it the new contents (POSIX; on Windows it refuses).
  bool inPlaceOnly = false;
  // Nothing opened because memory ran out (no file touched).
  bool noMemory = false;
};

// Opens the file that receives the new contents of `path`, unbuffered and
// binary (a pipe nobody reads fails at once). `permissions`: Recreate's bits
// for the new file (POSIX). Null when nothing could be opened.
textops::FilePtr openReplacement(Replacement& r, const char* path, ReplaceWay way,
                                 uint32_t permissions = 0666) noexcept;

// Once the file openReplacement gave is closed: `written` says that all the
// new contents went into it. Beside renames the new file over the target,
// or removes it when `written` is false or the rename fails. True when the
// target now holds the new contents.
bool finishReplacement(Replacement& r, bool written) noexcept;

// The platform's part of openReplacement for ReplaceWay::Beside: checks that
// the target is writable as itself and fills r.target. False when no new
// file may replace it (r.inPlaceOnly set where only an in-place rewrite
// reaches every name of the file). May throw std::bad_alloc.
bool prepareBeside(Replacement& r, const char* path);

// Gives `path` new contents in place, for a file Beside could not replace:
// bytes [0, keep) stay, `tail` follows them and the file ends there. Only
// the file `asRead` is written (by identity, a regular file) and only while
// it still has `oldSize` bytes, `old` being its whole contents; when the
// writing falls short, the old bytes from `keep` on and the old length are
// put back. Windows: false, the file untouched.
bool rewriteTail(const char* path, const FileIdentity& asRead, const unsigned char* old,
                 size_t oldSize, size_t keep, const unsigned char* tail,
                 size_t tailSize) noexcept;

}  // namespace fileops
