// Path name functions: parts of a path by mode.
#include <string>

#include "FennickDLL.h"
#include "FileOps.h"

namespace {

constexpr const char* kSeparators = "/\\";

// Everything after the last separator (the whole path without one).
std::string fileNamePart(const std::string& path) {
  size_t sep = path.find_last_of(kSeparators);
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string cutBeforeLastDot(const std::string& text) {
  size_t dot = text.rfind('.');
  return dot == std::string::npos ? text : text.substr(0, dot);
}

}  // namespace

std::string FileNameExtract(const std::string& path, int mode) {
  switch (mode) {
    case 1: {
      size_t sep = path.find_last_of(kSeparators);
      return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
    }
    case 2:
      return cutBeforeLastDot(fileNamePart(path));
    case 3:
      return cutBeforeLastDot(path);
    case 4: {
      size_t dot = path.rfind('.');
      return dot == std::string::npos ? std::string() : path.substr(dot);
    }
    case 6:
      return fileNamePart(path);
    default:
      return path;
  }
}

std::string FilepathTruncate(const std::string& path) { return path; }

namespace fileops {

std::string withoutExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t sep = path.find_last_of(kSeparators);
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return path;
  return path.substr(0, dot);
}

}  // namespace fileops
