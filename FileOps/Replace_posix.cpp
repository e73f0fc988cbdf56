// Replacing a file's contents on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "FileIdentity_posix.h"

namespace fileops {

namespace {

// The file a symbolic link names, so that the link stays a link.
std::string resolved(const char* path) {
  // Freed also when the copy cannot get its memory.
  std::unique_ptr<char, void (*)(void*)> real(realpath(path, nullptr), std::free);
  if (!real) return path;
  return std::string(real.get());
}

}  // namespace

bool prepareBeside(Replacement& r, const char* path) {
  // Writable as itself, as an in-place rewrite would need it.
  const int probe = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK, 0666);
  if (probe < 0) return false;
  ::close(probe);
  r.target = resolved(path);
  // Further names (hard links) would keep the old file.
  struct stat st;
  if (stat(r.target.c_str(), &st) == 0 && st.st_nlink > 1) {
    r.inPlaceOnly = true;
    return false;
  }
  return true;
}

namespace {

bool writeAllAt(int fd, const unsigned char* data, size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = pwrite(fd, data, size, at);
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
    at += n;
  }
  return true;
}

}  // namespace

bool finishReplacement(Replacement& r, bool written) noexcept {
  if (r.way == ReplaceWay::Recreate) return written;
  if (r.temp.empty()) return false;
  struct stat st;
  if (written && stat(r.target.c_str(), &st) == 0) {
    // The owner first, where the process may give the file away (a change
    // of owner may clear some permission bits), then the bits.
    if (chown(r.temp.c_str(), st.st_uid, st.st_gid) != 0) {
      // Not allowed: the file stays the process's own.
    }
    chmod(r.temp.c_str(), st.st_mode & 07777);
  }
  const bool replaced = written && std::rename(r.temp.c_str(), r.target.c_str()) == 0;
  if (!replaced) std::remove(r.temp.c_str());
  r.temp.clear();
  return replaced;
}

bool rewriteTail(const char* path, const FileIdentity& asRead, const unsigned char* old,
                 size_t oldSize, size_t keep, const unsigned char* tail,
                 size_t tailSize) noexcept {
  if (!path || keep > oldSize) return false;
  const int fd = ::open(path, O_WRONLY | O_NONBLOCK);  // no waiting on a pipe
  if (fd < 0) return false;
  // Only the file that was read, as it was read: the same regular file, of
  // the same length. Another file put in its place is not written.
  const FileIdentity now = identityOfDescriptor(fd);
  const bool asItWas = !now.folder && !now.special && sameFile(now, asRead) &&
                       now.size == uint64_t(oldSize);
  bool done = asItWas && keep <= size_t(LLONG_MAX) - tailSize &&
              writeAllAt(fd, tail, tailSize, off_t(keep)) &&
              ftruncate(fd, off_t(keep + tailSize)) == 0;
  if (asItWas && !done) {
    // The old bytes were the file's: they go back, and its old length.
    writeAllAt(fd, old + keep, oldSize - keep, off_t(keep));
    if (ftruncate(fd, off_t(oldSize)) != 0) done = false;
  }
  if (::close(fd) != 0) done = false;
  return done;
}

}  // namespace fileops
