#include <cstdio>
#include <memory>

#include "DirStream.h"
#include "FennickDLL.h"
#include "FileOps.h"

namespace {

bool isDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

bool IsDirectory(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;) {
    const char c = path[i];
    if (c == '.') return false;
    if (c == '/' || c == '\\') return true;
  }
  return true;
}

bool ClearFolder(std::string path) {
  // An empty path would become the bare separator, the file-system root.
  if (path.empty()) return false;
  if (path.back() != fileops::kFolderSeparator) path += fileops::kFolderSeparator;
  std::unique_ptr<fileops::DirStream, fileops::DirStreamClose> stream(
      fileops::openFolderWalk(path.c_str()));
  if (!stream) return false;
  // The dot entries are passed over by name: streams do not always yield
  // them first. Entry paths are built at their full length.
  const size_t folderLength = path.size();
  while (const char* name = fileops::readDirStream(stream.get())) {
    if (isDotEntry(name)) continue;
    path.resize(folderLength);
    path += name;
    if (!IsDirectory(path)) std::remove(path.c_str());
  }
  return true;
}
