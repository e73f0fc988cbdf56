// Folder emptying: one level, the entries whose names hold a dot.
#include <cstdio>
#include <memory>

#include "DirStream.h"
#include "FileOps.h"

namespace fileops {

namespace {

bool isDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

fennick::Status clearFolder(std::string path) noexcept {
  return fennick::guardedStatus([&] {
    // An empty path would become the bare separator, the file-system root.
    if (path.empty()) return fennick::Status::OpenFailed;
    if (path.back() != kFolderSeparator) path += kFolderSeparator;
    DirStream* opened = nullptr;
    if (fennick::Status status = openFolderWalk(path.c_str(), opened);
        status != fennick::Status::Ok)
      return status;
    std::unique_ptr<DirStream, DirStreamClose> stream(opened);
    // The dot entries are passed over by name: streams do not always yield
    // them first. Entry paths are built at their full length.
    const size_t folderLength = path.size();
    while (const char* name = readDirStream(stream.get())) {
      if (isDotEntry(name)) continue;
      path.resize(folderLength);
      path += name;
      if (namesFileByDot(path)) std::remove(path.c_str());
    }
    return fennick::Status::Ok;
  });
}

}  // namespace fileops
