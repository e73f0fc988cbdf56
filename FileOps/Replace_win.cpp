// Replacing a file on Windows: ReplaceFile keeps the old file's attributes,
// access rules and streams; a new target is moved into place. No permission
// bits or owners to carry over, and no in-place rewrite of a merge.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "FileOps.h"

namespace fileops {

namespace {

bool isInput(const FileIdentity& id, const OutputRules& rules) {
  for (size_t i = 0; i < rules.inputCount; ++i)
    if (sameFile(id, rules.inputs[i])) return true;
  return false;
}

// The file opened under `path`, without following a reparse point: its
// identity and whether it is a disk file.
struct Opened {
  bool exists = false;
  bool disk = false;
  FileIdentity identity;
};

bool openTarget(const char* path, DWORD access, Opened& o) {
  HANDLE h = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  o.exists = true;
  o.disk = GetFileType(h) == FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION info;
  if (o.disk && GetFileInformationByHandle(h, &info)) {
    o.identity.known = true;
    o.identity.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    o.identity.volume = info.dwVolumeSerialNumber;
    o.identity.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(h);
  return true;
}

std::FILE* unbuffered(std::FILE* f) {
  if (f) std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}

}  // namespace

fennick::Status prepareTarget(Replacement& r, const char* path, const OutputRules& rules) {
  r.target = path;
  r.name = path;  // new files are named from the whole path here
  Opened o;
  if (!openTarget(path, 0, o)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? fennick::Status::Ok : fennick::Status::CreateFailed;
  }
  if (!o.disk) {
    r.inPlace = true;  // a device: written as it stands
    return fennick::Status::Ok;
  }
  if (o.identity.folder) return fennick::Status::CreateFailed;
  if (!rules.rewritesTarget && isInput(o.identity, rules)) return fennick::Status::OutputIsInput;
  // Writable as itself: a read-only file stays as it is (its attribute is
  // asked too, as a process with every right may still open it to write).
  const DWORD attributes = GetFileAttributesA(path);
  Opened writable;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) ||
      !openTarget(path, GENERIC_WRITE, writable))
    return fennick::Status::CreateFailed;
  r.targetExisted = true;
  return fennick::Status::Ok;
}

NewFile createBeside(Replacement& r, const std::string& name, textops::FilePtr& file) {
  r.temp = name;  // before the file exists: a failure after it removes it
  const int fd =
      _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    const int error = errno;
    r.temp.clear();
    if (error == EEXIST) return NewFile::Exists;
    if (error == EACCES) return NewFile::FolderRefuses;
    return NewFile::Failed;
  }
  std::FILE* f = unbuffered(_fdopen(fd, "wb"));
  if (!f) {
    _close(fd);
    removeNewFile(r);
    return NewFile::Failed;
  }
  file.reset(f);
  return NewFile::Made;
}

bool openInPlace(Replacement& r, const OutputRules& rules, textops::FilePtr& file) {
  std::FILE* f = unbuffered(std::fopen(r.target.c_str(), r.targetExisted ? "r+b" : "wb"));
  if (!f) return false;
  if (r.targetExisted) {
    // Only the very file opened is written, never an input, and only once
    // its old contents are held to be put back.
    const FileIdentity now = identityOf(f);
    const int64_t size = textops::fileSize(f);
    bool ready = !(isInput(now, rules) && !rules.rewritesTarget) && size >= 0 &&
                 uint64_t(size) < SIZE_MAX / 2;
    if (ready) r.saved = textops::allocateAligned(size_t(size) + 1);
    ready = ready && r.saved &&
            textops::readFully(f, r.saved.get(), size_t(size)) == size_t(size) &&
            textops::seekTo(f, 0) && (r.descriptor = _dup(_fileno(f))) >= 0 &&
            _chsize_s(_fileno(f), 0) == 0;
    if (!ready) {
      std::fclose(f);
      r.saved.reset();
      return false;
    }
    r.savedSize = size_t(size);
  }
  r.inPlace = true;
  file.reset(f);
  return true;
}

void restoreInPlace(Replacement& r) noexcept {
  if (r.saved && r.descriptor >= 0 && _lseeki64(r.descriptor, 0, SEEK_SET) == 0) {
    // The bytes go back, then the old length.
    const unsigned char* p = r.saved.get();
    size_t left = r.savedSize;
    while (left > 0) {
      const unsigned chunk = left > (1u << 30) ? (1u << 30) : unsigned(left);
      const int n = _write(r.descriptor, p, chunk);
      if (n <= 0) break;
      p += n;
      left -= size_t(n);
    }
    if (left == 0) _chsize_s(r.descriptor, int64_t(r.savedSize));
  }
  r.saved.reset();
  r.savedSize = 0;
  r.inPlace = false;
}

bool commitReplacement(Replacement& r) {
  const DWORD through = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  bool done = false;
  if (r.targetExisted)
    done = ReplaceFileA(r.target.c_str(), r.temp.c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
  // A new target, or one ReplaceFile could not take (it may have removed
  // the old file and left the new one under its own name).
  if (!done) done = MoveFileExA(r.temp.c_str(), r.target.c_str(), through) != 0;
  if (done) r.temp.clear();
  return done;
}

void removeNewFile(Replacement& r) noexcept {
  if (!r.temp.empty()) DeleteFileA(r.temp.c_str());
  r.temp.clear();
}

void releaseReplacement(Replacement& r) noexcept {
  if (r.descriptor >= 0) _close(r.descriptor);
  r.descriptor = -1;
}

bool rewriteTail(const char*, const FileIdentity&, const unsigned char*, size_t, size_t,
                 const unsigned char*, size_t, uint32_t) noexcept {
  return false;
}

}  // namespace fileops
