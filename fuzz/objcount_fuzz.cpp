// OBJ vertex count on any text, in memory, and the stream-rule number
// parsers. Without a marker the count is the number of "v " lines.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "TextOps.h"
#include "leanOBJ.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t count = leanobj::countVertices(data, size);
  const char* p = reinterpret_cast<const char*>(data);
  const char* end = p + size;
  static const char kMarker[] = "#Vertex Count";
  bool marked = false;
  for (const char* q = p; !marked && end - q >= 13; ++q)
    marked = std::memcmp(q, kMarker, 13) == 0;
  if (!marked) {
    int32_t lines = 0;
    for (const char* q = p; q < end;) {
      if (end - q >= 2 && q[0] == 'v' && q[1] == ' ') ++lines;
      const char* nl = static_cast<const char*>(std::memchr(q, '\n', size_t(end - q)));
      q = nl ? nl + 1 : end;
    }
    if (lines != count) std::abort();
  }
  float f;
  int32_t i;
  for (const char* q = p; q < end;) {
    textops::ParseResult r = textops::parseStreamFloat(q, end, f);
    q = r.next > q ? r.next : q + 1;
  }
  for (const char* q = p; q < end;) {
    textops::ParseResult r = textops::parseStreamInt(q, end, i);
    q = r.next > q ? r.next : q + 1;
  }
  return 0;
}
