// File services behind the exports: path names, folder emptying, file copy,
// file identity, the check that keeps outputs off inputs, output creation,
// free space.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "Common.h"

#include "TextOps.h"

namespace fileops {

#if defined(_WIN32)
constexpr char kFolderSeparator = '\\';
#else
constexpr char kFolderSeparator = '/';
#endif

// Copies a file byte for byte: Ok copied; OutputIsInput the destination is
// the source itself (by another spelling or through a link), left intact;
// NullArgument a null path; OpenFailed the source cannot be opened or read,
// or is a folder; CreateFailed the destination is a folder, device, pipe or
// socket (not touched) or cannot be created; WriteFailed a write fell short
// or the replacement failed; NoMemory no memory for the copy buffer. The
// source is opened before the destination is touched; the copy replaces
// the destination as every output does (see openReplacement), so a failure
// leaves it as it was. On POSIX systems the copy gets the source's
// permission bits masked by the umask, as cp gives them, whether or not the
// destination existed.
fennick::Status copyFile(const char* source, const char* destination) noexcept;

// ---- path names --------------------------------------------------------------
// '/' and '\\' both separate folders on every platform; the bytes of a path
// are taken as they are (no encoding is assumed).

// The folder part up to and including the last separator ("" without one).
std::string folderPart(const std::string& path);
// The file name: everything after the last separator (the whole path
// without one).
std::string fileName(const std::string& path);
// The file name cut before its last dot.
std::string fileNameWithoutExtension(const std::string& path);
// The whole path cut before its last dot, wherever that dot is (in a folder
// name too).
std::string cutAtLastDot(const std::string& path);
// From the last dot of the whole path on ("" without a dot).
std::string fromLastDot(const std::string& path);

// The path without the extension of its file name: cut before the file
// name's last dot (after the last "/" or backslash); a dot in a folder name
// does not count.
std::string withoutExtension(const std::string& path);

// The folder emptying's name rule: scanning back from the end, a '.' met
// before any separator means a file (true); a separator met first, or none
// at all, means a folder. The file system is not asked.
bool namesFileByDot(const std::string& path) noexcept;

// Deletes the entries of one folder level whose names hold a '.' (see
// namesFileByDot) with the system's remove; sub-folders are not entered,
// entries that cannot be deleted stay without notice, "." and ".." are
// passed over by name. The path gets kFolderSeparator appended unless it
// ends in one. Ok when the folder was opened and walked; OpenFailed when it
// cannot be opened (an empty path included); NoMemory.
fennick::Status clearFolder(std::string path) noexcept;

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

// Room on the file system that holds (or would hold) the file `path`: bytes
// the process may still write, the size of one allocation block (a file
// takes whole blocks), and the files that may still be made. False when
// nothing can be told.
struct FreeSpace {
  uint64_t bytes = 0;
  uint64_t blockSize = 1;
  bool filesKnown = false;  // some file systems state no file count
  uint64_t files = 0;
};
bool freeSpaceFor(const char* path, FreeSpace& space) noexcept;

// ---- replacing a file ------------------------------------------------------
//
// Every file a call writes for the user goes through one replacement: the
// new contents go to a new file beside the target (beside the file a
// symbolic link names: the link stays), created exclusively with no wider
// permission bits than the result will have, and take the target's name
// only once they are completely written. The result keeps the target's
// permission bits (narrowed as OutputRules says), its owner where the
// process may give it, and its extended attributes (ACLs among them) where
// the platform has them. On any failure the new file is removed and the
// target is as it was, or absent when there was none.
//
// Only where the target's folder takes no new file (no write permission) is
// an existing target written in place, as a last resort: never with wider
// permission bits than the rules allow (they are narrowed first, or the
// output is refused), and only when its old contents can be read and held,
// to be put back if the writing does not finish. A device or pipe named as
// output is written directly; a folder is refused.

// What an output is made from.
struct OutputRules {
  // The call's inputs as opened (identityOf the open file): the output may
  // not be one of them, and it is never readable by more users than they
  // are (no group or other read bit that one of them lacks).
  const FileIdentity* inputs = nullptr;
  size_t inputCount = 0;
  // The target is itself one of the inputs, read whole and rewritten
  // (merge): it is not refused as an input, and it is not written in place
  // by the replacement (Replacement::inPlaceOnly tells the caller instead).
  // A target with further hard links also goes in place that way.
  bool rewritesTarget = false;
  // The result gets the first input's permission bits masked by the umask
  // (a copy), rather than the target's narrowed bits.
  bool inputBits = false;
  // The new contents reach the disk before they take the target's name
  // (for a target whose old bytes exist nowhere else).
  bool sync = false;
};


struct Replacement {
  std::string target;  // the file replaced (a symbolic link resolved)
  std::string name;    // its name in `folder` (POSIX)
  std::string temp;    // the new file beside it until it takes the target's name
  bool inPlace = false;      // the target itself is written (see above)
  bool inPlaceOnly = false;  // rewritesTarget: only rewriteTail can reach the target
  bool sync = false;
  bool targetExisted = false;
  bool keepTargetBits = false;  // the target's (narrowed) bits are set on the new file
  uint32_t bits = 0;     // the result's permission bits at most (POSIX)
  uint32_t owner = 0, group = 0;  // the target's (POSIX)
  int folder = -1;       // POSIX: the target's folder, held open
  int descriptor = -1;   // the new file (POSIX, for its sync), or the target
                         // written in place, kept past the stream's close
  // A regular target written in place: its old contents, put back when the
  // writing does not finish.
  textops::AlignedBytes saved;
  size_t savedSize = 0;
  Replacement() = default;
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;
  // A replacement never finished removes its new file: the target stays.
  ~Replacement();
};

// Opens the file that receives the new contents of `path` (unbuffered,
// binary) into `file`. IsInput: the target is one of the inputs (nothing
// made); CreateFailed: nothing could be opened; NoMemory: memory ran out
// (nothing touched).
fennick::Status openReplacement(Replacement& r, textops::FilePtr& file, const char* path,
                             const OutputRules& rules) noexcept;

// Once the file openReplacement gave is closed: `written` says that all the
// new contents went into it. Gives the target the new contents (rename) or,
// when `written` is false or that fails, removes the new file. True when the
// target now holds the new contents.
bool finishReplacement(Replacement& r, bool written) noexcept;

// One output file behind the buffered writer: open, write through `out`,
// closeOutput. An Output left without closeOutput (an early return) leaves
// the target as it was.
struct Output {
  Replacement replacement;  // destroyed after `out`, whose file it removes
  textops::OutFile out;
};
fennick::Status openOutput(Output& o, const char* path, const OutputRules& rules,
                        size_t writeBlock = textops::kDefaultWriteBlock) noexcept;
// Flushes, closes and replaces the target: false (target as it was) when any
// write fell short or the replacement failed.
bool closeOutput(Output& o) noexcept;

// Rules for an output made from the one file `input` was opened as.
struct OneInput {
  FileIdentity identity;
  OutputRules rules;
  explicit OneInput(std::FILE* input) noexcept;
  OneInput(const OneInput&) = delete;
  OneInput& operator=(const OneInput&) = delete;
};

// Gives `path` new contents in place, for a file Beside could not replace:
// bytes [0, keep) stay, `tail` follows them and the file ends there. Only
// the file `asRead` is written (by identity, a regular file) and only while
// it still has `oldSize` bytes, `old` being its whole contents; when the
// writing falls short, the old bytes from `keep` on and the old length are
// put back. `bits`: the permission bits it may have at most (narrowed
// first; refused when that fails). Windows: false, the file untouched.
bool rewriteTail(const char* path, const FileIdentity& asRead, const unsigned char* old,
                 size_t oldSize, size_t keep, const unsigned char* tail, size_t tailSize,
                 uint32_t bits = 0777) noexcept;

// ---- the platform's steps of a replacement (Replace_posix.cpp, _win.cpp) ---

// Resolves the target, refuses an input, notes what the result keeps.
fennick::Status prepareTarget(Replacement& r, const char* path, const OutputRules& rules);
enum class NewFile { Made, Exists, FolderRefuses, Failed };
// Creates `name` beside the target, exclusively, with the result's bits at
// most; carries the owner and extended attributes over.
NewFile createBeside(Replacement& r, const std::string& name, textops::FilePtr& file);
// The last resort for a folder that takes no new file.
bool openInPlace(Replacement& r, const OutputRules& rules, textops::FilePtr& file);
// Gives the target the new file's contents (after a sync when asked).
bool commitReplacement(Replacement& r);
// Puts a target written in place back as it was (its saved contents).
void restoreInPlace(Replacement& r) noexcept;
void removeNewFile(Replacement& r) noexcept;
void releaseReplacement(Replacement& r) noexcept;  // closes what it holds

// The permission bits an output of these inputs may have: no group or other
// read bit that one of the inputs lacks.
inline uint32_t sharedBits(const OutputRules& rules) {
  uint32_t bits = 0777;
  for (size_t i = 0; i < rules.inputCount; ++i)
    if (rules.inputs[i].known) bits &= ~(uint32_t(044) & ~rules.inputs[i].permissions);
  return bits;
}

}  // namespace fileops
