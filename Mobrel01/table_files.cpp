// The path name and folder functions of FennickDLL's table, exported under
// their C++ names: thin definitions over FileOps.
#include <new>
#include <string>

#include "FennickDLL.h"
#include "FileOps.h"

std::string FileNameExtract(const std::string& path, int mode) {
  switch (mode) {
    case 1:
      return fileops::folderPart(path);
    case 2:
      return fileops::fileNameWithoutExtension(path);
    case 3:
      return fileops::cutAtLastDot(path);
    case 4:
      return fileops::fromLastDot(path);
    case 6:
      return fileops::fileName(path);
    default:
      return path;
  }
}

std::string FilepathTruncate(const std::string& path) { return path; }

bool IsDirectory(const std::string& path) { return !fileops::namesFileByDot(path); }

// Running out of memory is reported as the standard library does, as this
// function always has.
bool ClearFolder(std::string path) {
  const fennick::Status status = fileops::clearFolder(std::move(path));
  if (status == fennick::Status::NoMemory) throw std::bad_alloc();
  return status == fennick::Status::Ok;
}
