// OBJ vertex count on any text, and the stream-rule number parsers.
#include <cstdint>

#include "FennickDLL.h"
#include "FuzzSupport.h"
#include "TextOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzzsupport::writeInput("in.obj", data, size);
  getVertexCount(path.c_str());
  const char* p = reinterpret_cast<const char*>(data);
  const char* end = p + size;
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
