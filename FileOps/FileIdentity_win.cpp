#include <io.h>
#include <windows.h>

#include "FileOps.h"

namespace fileops {

namespace {
FileIdentity fromHandle(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info;
  if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info)) return FileIdentity();
  FileIdentity id;
  id.known = true;
  id.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  id.size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return id;
}
}  // namespace

FileIdentity identityOf(std::FILE* file) noexcept {
  if (!file) return FileIdentity();
  return fromHandle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
}

FileIdentity identityOf(const char* path) noexcept {
  if (!path || !*path) return FileIdentity();
  // No access rights asked: only the file's identity is read. Backup
  // semantics let a folder be opened too.
  HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileIdentity();
  FileIdentity id = fromHandle(h);
  CloseHandle(h);
  return id;
}

}  // namespace fileops
