// Path names: one splitter over '/' and '\' for every caller.
#include <string>

#include "FileOps.h"

namespace fileops {

namespace {

constexpr const char* kSeparators = "/\\";

std::string cutBeforeLastDot(const std::string& text) {
  size_t dot = text.rfind('.');
  return dot == std::string::npos ? text : text.substr(0, dot);
}

}  // namespace

std::string folderPart(const std::string& path) {
  size_t sep = path.find_last_of(kSeparators);
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string fileName(const std::string& path) {
  size_t sep = path.find_last_of(kSeparators);
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string fileNameWithoutExtension(const std::string& path) {
  return cutBeforeLastDot(fileName(path));
}

std::string cutAtLastDot(const std::string& path) { return cutBeforeLastDot(path); }

std::string fromLastDot(const std::string& path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string withoutExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t sep = path.find_last_of(kSeparators);
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return path;
  return path.substr(0, dot);
}

bool namesFileByDot(const std::string& path) noexcept {
  for (size_t i = path.size(); i-- > 0;) {
    const char c = path[i];
    if (c == '.') return true;
    if (c == '/' || c == '\\') return false;
  }
  return false;
}

}  // namespace fileops
