// Face IDs and the VyX to OBJ conversion on any bytes, in memory: the face
// IDs of the input itself, or, when it yields none, a list taken from its
// first bytes.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "LittleEndian.h"
#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fennick::Status;
  if (size < 1) return 0;
  double level = double(int(data[0] % 8) - 1) / (data[0] & 8 ? 2.0 : 1.0);
  const unsigned char* body = data + 1;
  const size_t n = size - 1;
  std::vector<uint32_t> ids{7};
  Status s = vyx::faceIDs(body, n, level, ids);
  if (s == Status::Ok && ids.size() != le::loadU32(body + 40)) __builtin_trap();
  if (s != Status::Ok && (s != Status::PastEnd || !ids.empty())) __builtin_trap();
  if (ids.empty()) {
    for (size_t i = 1; i + 1 < size && i < 9; i += 2) ids.push_back(data[i] % 8);
  }
  vyx::ObjHead head;
  vyx::TagFound found;
  s = vyx::objHead(body, n, head, found);
  if (s == Status::Ok) {
    std::vector<unsigned char> obj;
    textops::OutFile out;
    if (textops::openOutMemory(out, obj) != Status::Ok) return 0;
    s = vyx::putObj(head, ids, out, found);
    if (!textops::closeOut(out)) __builtin_trap();
    if (s == Status::Ok) {
      // Header lines, one line per vertex, the colour block, the faces.
      std::string_view text(reinterpret_cast<const char*>(obj.data()), obj.size());
      if (text.compare(0, 33, "# File exported by Plaxio plugin\n") != 0) __builtin_trap();
      if (text.back() != '\n') __builtin_trap();
      uint64_t vertexLines = 0;
      for (size_t p = text.find("\nv "); p != text.npos; p = text.find("\nv ", p + 1))
        ++vertexLines;
      if (vertexLines != head.vertices) __builtin_trap();
    }
  }
  if (s == Status::WrongTag && found.tag == 0) __builtin_trap();
  if (s != Status::Ok && s != Status::WrongTag && s != Status::ZeroTag && s != Status::PastEnd)
    __builtin_trap();
  return 0;
}
