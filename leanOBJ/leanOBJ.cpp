#include "leanOBJ.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "TextOps.h"

namespace leanobj {

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

// Adds the whole lines of [begin, end) to `count`; true when the marker's
// line ended the count.
bool countRun(int32_t& count, const char* begin, const char* end) {
  const char* marker = findMarker(begin, end);
  if (!marker) {
    count = static_cast<int32_t>(count + countVertexLines(begin, end));
    return false;
  }
  // Lines before the marker's line count; the marker's line ends the count.
  const char* lineStart = marker;
  while (lineStart > begin && lineStart[-1] != '\n') --lineStart;
  count = static_cast<int32_t>(count + countVertexLines(begin, lineStart));
  const char* lineEnd = static_cast<const char*>(std::memchr(marker, '\n', size_t(end - marker)));
  if (!lineEnd) lineEnd = end;
  const char* rest = marker + kMarker.size() + 1;
  if (rest < lineEnd) {
    int32_t stated = 0;
    if (textops::parseStreamInt(rest, lineEnd, stated).ok) count = stated;
  }
  return true;
}

}  // namespace

int32_t countVertices(const unsigned char* data, size_t size) noexcept {
  int32_t count = 0;
  const char* text = reinterpret_cast<const char*>(data);
  if (size) countRun(count, text, text + size);
  return count;
}

fennick::Status countVertices(const char* path, int32_t& count) noexcept {
  textops::FilePtr file = textops::openRead(path);
  if (!file) return fennick::Status::OpenFailed;
  int32_t sum = 0;
  // A read error is no end of the file (the count would be short), but a
  // marker read before it ends the count.
  const fennick::Status status = textops::forEachLineRun(
      file.get(), [&](const char* begin, const char* end) { return !countRun(sum, begin, end); });
  if (status == fennick::Status::Ok) count = sum;
  return status;
}

}  // namespace leanobj
