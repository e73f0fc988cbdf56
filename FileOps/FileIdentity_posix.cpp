#include <sys/stat.h>

#include "FileOps.h"

namespace fileops {

namespace {
FileIdentity fromStat(const struct stat& st) {
  FileIdentity id;
  id.known = true;
  id.folder = S_ISDIR(st.st_mode);
  id.special = !S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode);
  id.volume = static_cast<uint64_t>(st.st_dev);
  id.index = static_cast<uint64_t>(st.st_ino);
  return id;
}
}  // namespace

FileIdentity identityOf(std::FILE* file) noexcept {
  struct stat st;
  if (!file || fstat(fileno(file), &st) != 0) return FileIdentity();
  return fromStat(st);
}

FileIdentity identityOf(const char* path) noexcept {
  struct stat st;
  if (!path || stat(path, &st) != 0) return FileIdentity();
  return fromStat(st);
}

}  // namespace fileops
