#include <sys/stat.h>

#include "FileIdentity_posix.h"

namespace fileops {

namespace {
FileIdentity fromStat(const struct stat& st) {
  FileIdentity id;
  id.known = true;
  id.folder = S_ISDIR(st.st_mode);
  id.special = !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode);
  id.volume = static_cast<uint64_t>(st.st_dev);
  id.index = static_cast<uint64_t>(st.st_ino);
  id.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
  id.permissions = static_cast<uint32_t>(st.st_mode & 0777);
  return id;
}
}  // namespace

FileIdentity identityOfDescriptor(int descriptor) noexcept {
  struct stat st;
  if (descriptor < 0 || fstat(descriptor, &st) != 0) return FileIdentity();
  return fromStat(st);
}

FileIdentity identityOf(std::FILE* file) noexcept {
  return file ? identityOfDescriptor(fileno(file)) : FileIdentity();
}

FileIdentity identityOf(const char* path) noexcept {
  struct stat st;
  if (!path || stat(path, &st) != 0) return FileIdentity();
  return fromStat(st);
}

}  // namespace fileops
