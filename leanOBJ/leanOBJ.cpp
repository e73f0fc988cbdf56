#include "leanOBJ.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "Common.h"
#include "FennickDLL.h"
#include "TextOps.h"

namespace {

constexpr std::string_view kMarker = "#Vertex Count";

// Number of lines in [begin, end) that start with "v ": begin starts a line,
// and the lines are whole (the last one may lack its line feed).
int64_t countVertexLines(const char* begin, const char* end) {
  int64_t count = 0;
  const char* p = begin;
  while (p < end) {
    if (end - p >= 2 && p[0] == 'v' && p[1] == ' ') ++count;
    const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
    if (!nl) break;
    p = nl + 1;
  }
  return count;
}

const char* findMarker(const char* begin, const char* end) {
  const char* p = begin;
  while (end - p >= static_cast<ptrdiff_t>(kMarker.size())) {
    const char* hash = static_cast<const char*>(std::memchr(p, '#', size_t(end - p)));
    if (!hash || end - hash < static_cast<ptrdiff_t>(kMarker.size())) return nullptr;
    if (std::memcmp(hash, kMarker.data(), kMarker.size()) == 0) return hash;
    p = hash + 1;
  }
  return nullptr;
}

}  // namespace

float getVertexCount(const char* path) noexcept {
  textops::FilePtr file = textops::openRead(path);
  if (!file) return leanobj::kResultOpenFailed;
  textops::LineBlockReader reader;
  if (!textops::initLineReader(reader, file.get())) return fennick::kResultNoMemory;
  int32_t count = 0;
  const char* begin;
  const char* end;
  while (textops::nextLineBlock(reader, begin, end)) {
    const char* marker = findMarker(begin, end);
    if (!marker) {
      count = static_cast<int32_t>(count + countVertexLines(begin, end));
      continue;
    }
    // Lines before the marker's line count; the marker's line ends the count.
    const char* lineStart = marker;
    while (lineStart > begin && lineStart[-1] != '\n') --lineStart;
    count = static_cast<int32_t>(count + countVertexLines(begin, lineStart));
    const char* lineEnd =
        static_cast<const char*>(std::memchr(marker, '\n', size_t(end - marker)));
    if (!lineEnd) lineEnd = end;
    const char* rest = marker + kMarker.size() + 1;
    if (rest < lineEnd) {
      int32_t stated = 0;
      if (textops::parseStreamInt(rest, lineEnd, stated).ok) count = stated;
    }
    return static_cast<float>(count);
  }
  if (reader.failed) return fennick::kResultNoMemory;
  // A read error is no end of the file: the count would be short.
  if (std::ferror(file.get())) return leanobj::kResultOpenFailed;
  return static_cast<float>(count);
}
