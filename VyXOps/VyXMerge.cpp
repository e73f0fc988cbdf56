// File merge: the target without its last 14 bytes, then the other file
// without its last 14 bytes. The new content goes to a file beside the
// target that replaces it only once it is completely written. Where the
// folder takes no new file, or the target has further hard links, the target
// is rewritten in place, its old tail put back if the writing fails.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "Common.h"
#include "FennickDLL.h"
#include "FileOps.h"
#include "TextOps.h"
#include "VyXOps.h"

namespace {

constexpr size_t kTail = 14;

size_t withoutTail(size_t size) { return size > kTail ? size - kTail : 0; }

// A name beside `target` that no file has yet, opened exclusively.
textops::FilePtr openBeside(const std::string& target, std::string& name) {
  for (unsigned serial = 0; serial < 100; ++serial) {
    name = target + ".merge" + std::to_string(serial);
    std::FILE* f = std::fopen(name.c_str(), "wbx");
    if (f) {
      std::setvbuf(f, nullptr, _IONBF, 0);
      return textops::FilePtr(f);
    }
    std::FILE* existing = std::fopen(name.c_str(), "rb");
    if (!existing) break;  // not a name clash: the folder refuses new files
    std::fclose(existing);
  }
  return textops::FilePtr();
}

#if !defined(_WIN32)
bool writeAllAt(int fd, const unsigned char* data, size_t size, off_t at) {
  while (size > 0) {
    ssize_t n = pwrite(fd, data, size, at);
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
    at += n;
  }
  return true;
}

// The target's kept bytes are its first bytes already: only the addition
// goes after them and the length changes. A failed write puts the old
// tail back (those bytes were the file's) and the old length.
bool mergeInPlace(const char* targetPath, const fileops::FileIdentity& readTarget,
                  const textops::FileBytes& target, const textops::FileBytes& addition) {
  int fd = open(targetPath, O_WRONLY | O_NONBLOCK);  // no waiting on a pipe
  if (fd < 0) return false;
  // Only the file that was read, as it was read: the same regular file, of
  // the same length. Another file put in its place is not written.
  const fileops::FileIdentity now = fileops::identityOfDescriptor(fd);
  const bool asRead = !now.folder && !now.special && fileops::sameFile(now, readTarget) &&
                      now.size == uint64_t(target.size);
  const size_t keep = withoutTail(target.size);
  const size_t added = withoutTail(addition.size);
  bool done = asRead && keep <= size_t(LLONG_MAX) - added &&
              writeAllAt(fd, addition.data.get(), added, off_t(keep)) &&
              ftruncate(fd, off_t(keep + added)) == 0;
  if (asRead && !done) {
    writeAllAt(fd, target.data.get() + keep, target.size - keep, off_t(keep));
    if (ftruncate(fd, off_t(target.size)) != 0) done = false;
  }
  if (close(fd) != 0) done = false;
  return done;
}

// The file a symbolic link names, so that the link stays a link.
std::string resolved(const char* path) {
  // Freed also when the copy cannot get its memory.
  std::unique_ptr<char, void (*)(void*)> real(realpath(path, nullptr), std::free);
  if (!real) return path;
  return std::string(real.get());
}
#endif

}  // namespace

float mergeFiles(const char* appendPath, char* targetPath) noexcept {
  return fennick::guarded([&] {
    textops::FileBytes target, addition;
    [[maybe_unused]] const fileops::FileIdentity readTarget = fileops::identityOf(targetPath);
    switch (textops::readWholeFile(targetPath, target)) {
      case textops::ReadStatus::OpenFailed: return vyx::kResultTargetReadFailed;
      case textops::ReadStatus::NoMemory: return fennick::kResultNoMemory;
      case textops::ReadStatus::Ok: break;
    }
    switch (textops::readWholeFile(appendPath, addition)) {
      case textops::ReadStatus::OpenFailed: return vyx::kResultOpenFailed;
      case textops::ReadStatus::NoMemory: return fennick::kResultNoMemory;
      case textops::ReadStatus::Ok: break;
    }
    // The target must be writable as itself, as when it was rewritten in place.
    std::FILE* probe = std::fopen(targetPath, "ab");
    if (!probe) return vyx::kResultTargetWriteFailed;
    std::fclose(probe);

#if defined(_WIN32)
    const std::string targetFile = targetPath;
#else
    const std::string targetFile = resolved(targetPath);
#endif
#if !defined(_WIN32)
    // A target with further names (hard links) is rewritten in place, so that
    // every name sees the merged file, as a replacement could not give.
    struct stat targetStat;
    const bool known = stat(targetFile.c_str(), &targetStat) == 0;
    if (known && targetStat.st_nlink > 1)
      return mergeInPlace(targetFile.c_str(), readTarget, target, addition) ? 0.0f
                                                                : vyx::kResultTargetWriteFailed;
#endif
    std::string temp;
    textops::OutFile out;
    out.file = openBeside(targetFile, temp);
#if !defined(_WIN32)
    if (!out.file)
      return mergeInPlace(targetFile.c_str(), readTarget, target, addition) ? 0.0f
                                                                : vyx::kResultTargetWriteFailed;
#endif
    if (!out.file) return vyx::kResultTargetWriteFailed;
    out.buffer = textops::allocateAligned(textops::kPageSize);
    if (!out.buffer) {
      out.file.reset();
      std::remove(temp.c_str());
      return fennick::kResultNoMemory;
    }
    out.capacity = textops::kPageSize;
    textops::put(out, target.data.get(), withoutTail(target.size));
    textops::put(out, addition.data.get(), withoutTail(addition.size));
    bool written = textops::closeOut(out);
#if !defined(_WIN32)
    // The replacement keeps the target's owner, where the process may give
    // it, and then its permission bits (a change of owner may clear some).
    if (written && known) {
      if (chown(temp.c_str(), targetStat.st_uid, targetStat.st_gid) != 0) {
        // Not allowed to give the file away: it stays the process's own.
      }
      chmod(temp.c_str(), targetStat.st_mode & 07777);
    }
#endif
    if (!written || std::rename(temp.c_str(), targetFile.c_str()) != 0) {
      std::remove(temp.c_str());
      return vyx::kResultTargetWriteFailed;
    }
    return 0.0f;
  });
}
