// Replacing a file on POSIX systems. The target's folder is opened once and
// every later step (the check, the new file, the rename) names files
// relative to it, so a folder swapped in the meantime changes nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <copyfile.h>
#else
#include <sys/xattr.h>
#endif

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FileIdentity_posix.h"

namespace fileops {

namespace {

// The file a symbolic link names, so that the link stays a link; a link
// that names nothing is itself replaced.
std::string resolved(const char* path) {
  struct stat st;
  if (lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  // Freed also when the copy cannot get its memory.
  std::unique_ptr<char, void (*)(void*)> real(realpath(path, nullptr), std::free);
  if (!real) return path;
  return std::string(real.get());
}

bool isInput(const FileIdentity& id, const OutputRules& rules) {
  for (size_t i = 0; i < rules.inputCount; ++i)
    if (sameFile(id, rules.inputs[i])) return true;
  return false;
}

FILE* unbuffered(int fd) {
  std::FILE* f = fdopen(fd, "wb");
  if (!f) return nullptr;
  std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}

// Extended attributes (and with them ACLs, security labels, and on macOS
// Finder tags) of the file `from` onto the new file; what cannot be set is
// passed over.
#if defined(__APPLE__)
void copyAttributes(int from, int to) {
  (void)fcopyfile(from, to, nullptr, COPYFILE_ACL | COPYFILE_XATTR);
}
#else
void copyAttributes(int from, int to) {
  const ssize_t listed = flistxattr(from, nullptr, 0);
  if (listed <= 0 || listed > (1 << 20)) return;
  std::vector<char> names(size_t(listed) + 1, '\0');
  const ssize_t got = flistxattr(from, names.data(), size_t(listed));
  if (got <= 0 || got > listed) return;
  std::vector<unsigned char> value;
  for (size_t at = 0; at < size_t(got);) {
    const char* name = names.data() + at;
    at += std::char_traits<char>::length(name) + 1;
    const ssize_t size = fgetxattr(from, name, nullptr, 0);
    if (size < 0 || size > (1 << 20)) continue;
    value.resize(size_t(size) + 1);
    const ssize_t read = fgetxattr(from, name, value.data(), size_t(size));
    if (read >= 0 && read <= size) (void)fsetxattr(to, name, value.data(), size_t(read), 0);
  }
}
#endif

}  // namespace

fennick::Status prepareTarget(Replacement& r, const char* path, const OutputRules& rules) {
  r.target = resolved(path);
  const size_t slash = r.target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : r.target.substr(0, slash);
  r.name = slash == std::string::npos ? r.target : r.target.substr(slash + 1);
  if (r.name.empty() || r.name == "." || r.name == "..") return fennick::Status::CreateFailed;
  r.folder = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (r.folder < 0) return fennick::Status::CreateFailed;

  const uint32_t shared = sharedBits(rules);
  const uint32_t fromInput =
      rules.inputCount > 0 && rules.inputs[0].known ? rules.inputs[0].permissions & 0777 : 0666;
  struct stat st;
  if (fstatat(r.folder, r.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno != ENOENT) return fennick::Status::CreateFailed;
    // A new file: created with these bits, which the umask narrows.
    r.bits = rules.inputBits ? fromInput : 0666 & shared;
    return fennick::Status::Ok;
  }
  if (S_ISDIR(st.st_mode)) return fennick::Status::CreateFailed;
  if (S_ISLNK(st.st_mode)) {
    // A link put in place since the name was resolved: the link itself is
    // replaced, the file it names is never written.
    r.bits = rules.inputBits ? fromInput : 0666 & shared;
    return fennick::Status::Ok;
  }
  if (!S_ISREG(st.st_mode)) {
    r.inPlace = true;  // a device or pipe: written as it stands
    return fennick::Status::Ok;
  }
  // The file that would be replaced, by what opens under its name: it must
  // be writable as itself (as an in-place write would need it) and be none
  // of the inputs.
  const int probe =
      ::openat(r.folder, r.name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (probe < 0) return fennick::Status::CreateFailed;
  const FileIdentity now = identityOfDescriptor(probe);
  struct stat opened;
  const bool statted = fstat(probe, &opened) == 0;
  ::close(probe);
  if (!statted || !S_ISREG(opened.st_mode)) return fennick::Status::CreateFailed;
  if (!rules.rewritesTarget && isInput(now, rules)) return fennick::Status::OutputIsInput;
  r.targetExisted = true;
  r.owner = uint32_t(opened.st_uid);
  r.group = uint32_t(opened.st_gid);
  if (rules.inputBits) {
    r.bits = fromInput;
  } else {
    r.bits = uint32_t(opened.st_mode) & 0777 & shared;
    r.keepTargetBits = true;
  }
  // Further names (hard links) would keep the old contents.
  if (rules.rewritesTarget && opened.st_nlink > 1) r.inPlaceOnly = true;
  return fennick::Status::Ok;
}

namespace {

// The owner, attributes and bits the result keeps, onto the new file. May
// throw std::bad_alloc.
void carryOver(Replacement& r, int fd) {
  if (r.targetExisted) {
    // The owner first, where the process may give the file away (a change
    // of owner may clear some permission bits); a group that cannot be kept
    // takes the group's bits with it.
    struct stat mine;
    bool groupLost = false;
    if (fstat(fd, &mine) == 0 &&
        (uint32_t(mine.st_uid) != r.owner || uint32_t(mine.st_gid) != r.group)) {
      if (fchown(fd, uid_t(r.owner), gid_t(r.group)) != 0 &&
          fchown(fd, uid_t(-1), gid_t(r.group)) != 0 && uint32_t(mine.st_gid) != r.group) {
        groupLost = true;
        r.bits &= ~uint32_t(070);
      }
    }
    const int old = ::openat(r.folder, r.name.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (old >= 0) {
      copyAttributes(old, fd);
      ::close(old);
    }
    // After the attributes: the bits narrow an access list's mask too.
    struct stat now;
    if (r.keepTargetBits)
      (void)fchmod(fd, static_cast<mode_t>(r.bits & 0777));
    else if (groupLost && fstat(fd, &now) == 0)
      (void)fchmod(fd, static_cast<mode_t>(now.st_mode & 0777 & r.bits));
  }
}

}  // namespace

NewFile createBeside(Replacement& r, const std::string& name, textops::FilePtr& file) {
  r.temp = name;  // before the file exists: a failure after it removes it
  const int fd = ::openat(r.folder, name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(r.bits & 0777));
  if (fd < 0) {
    const int error = errno;
    r.temp.clear();
    if (error == EEXIST) return NewFile::Exists;
    if (error == EACCES || error == EPERM || error == EROFS) return NewFile::FolderRefuses;
    return NewFile::Failed;
  }
  try {
    carryOver(r, fd);
  } catch (...) {
    ::close(fd);
    throw;  // openReplacement removes the new file
  }
  if (r.sync) r.descriptor = ::dup(fd);
  std::FILE* f = unbuffered(fd);
  if (!f) {
    ::close(fd);
    removeNewFile(r);
    return NewFile::Failed;
  }
  file.reset(f);
  return NewFile::Made;
}

namespace {

bool readAllAt(int fd, unsigned char* data, size_t size) {
  for (off_t at = 0; size > 0;) {
    const ssize_t n = pread(fd, data, size, at);
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
    at += n;
  }
  return true;
}

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

// The old contents of the regular file open as `fd`, read through a second
// open of the same name that must be the same file.
bool saveContents(Replacement& r, int fd, const struct stat& st) {
  const int reader = ::openat(r.folder, r.name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (reader < 0) return false;
  const bool same = sameFile(identityOfDescriptor(reader), identityOfDescriptor(fd));
  const size_t size = st.st_size > 0 ? size_t(st.st_size) : 0;
  r.saved = same && uint64_t(st.st_size) < SIZE_MAX / 2 ? textops::allocateAligned(size + 1)
                                                        : textops::AlignedBytes();
  const bool read = r.saved && readAllAt(reader, r.saved.get(), size);
  ::close(reader);
  r.savedSize = read ? size : 0;
  if (!read) r.saved.reset();
  return read;
}

}  // namespace

bool openInPlace(Replacement& r, const OutputRules& rules, textops::FilePtr& file) {
  const int fd = ::openat(r.folder, r.name.c_str(),
                          O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ready = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  if (ready && S_ISREG(st.st_mode)) {
    // Only the very file opened is written: never an input, never with
    // wider bits than the result may have, and only once its old contents
    // are held to be put back.
    ready = !(isInput(identityOfDescriptor(fd), rules) && !rules.rewritesTarget) &&
            saveContents(r, fd, st);
    const mode_t allowed = st.st_mode & 0777 & static_cast<mode_t>(r.bits);
    if (ready && (st.st_mode & 07777) != allowed) ready = fchmod(fd, allowed) == 0;
    if (ready) ready = (r.descriptor = ::dup(fd)) >= 0;
    if (ready) ready = ftruncate(fd, 0) == 0;
  }
  const int status = ready ? fcntl(fd, F_GETFL) : -1;
  if (status == -1 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) ready = false;
  std::FILE* f = ready ? unbuffered(fd) : nullptr;
  if (!f) {
    ::close(fd);
    r.saved.reset();
    return false;
  }
  r.inPlace = true;
  file.reset(f);
  return true;
}

void restoreInPlace(Replacement& r) noexcept {
  if (r.saved && r.descriptor >= 0) {
    // The bytes go back, then the old length.
    if (writeAllAt(r.descriptor, r.saved.get(), r.savedSize, 0)) {
      if (ftruncate(r.descriptor, off_t(r.savedSize)) != 0) {
        // Nothing more can be done: the bytes are back, the length is not.
      }
    }
  }
  r.saved.reset();
  r.savedSize = 0;
  r.inPlace = false;
}

bool commitReplacement(Replacement& r) {
  if (r.sync && (r.descriptor < 0 || fsync(r.descriptor) != 0)) return false;
  if (renameat(r.folder, r.temp.c_str(), r.folder, r.name.c_str()) != 0) return false;
  r.temp.clear();
  // The folder's new entry too, for a replacement that must reach the disk.
  if (r.sync) (void)fsync(r.folder);
  return true;
}

void removeNewFile(Replacement& r) noexcept {
  if (r.folder >= 0 && !r.temp.empty()) unlinkat(r.folder, r.temp.c_str(), 0);
  r.temp.clear();
}

void releaseReplacement(Replacement& r) noexcept {
  if (r.descriptor >= 0) ::close(r.descriptor);
  if (r.folder >= 0) ::close(r.folder);
  r.descriptor = r.folder = -1;
}

bool rewriteTail(const char* path, const FileIdentity& asRead, const unsigned char* old,
                 size_t oldSize, size_t keep, const unsigned char* tail, size_t tailSize,
                 uint32_t bits) noexcept {
  if (!path || keep > oldSize) return false;
  const int fd = ::open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC);  // no waiting on a pipe
  if (fd < 0) return false;
  // Only the file that was read, as it was read: the same regular file, of
  // the same length. Another file put in its place is not written.
  const FileIdentity now = identityOfDescriptor(fd);
  bool asItWas = !now.folder && !now.special && sameFile(now, asRead) &&
                 now.size == uint64_t(oldSize);
  struct stat st;
  if (asItWas && fstat(fd, &st) == 0) {
    const mode_t allowed = st.st_mode & 0777 & static_cast<mode_t>(bits);
    if ((st.st_mode & 07777) != allowed && fchmod(fd, allowed) != 0) asItWas = false;
  }
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
