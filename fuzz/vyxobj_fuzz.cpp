// Face IDs and the VyX to OBJ conversion on any bytes: the face IDs of the
// input itself, or, when it yields none, a list taken from its first bytes.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "FennickDLL.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  double level = double(int(data[0] % 8) - 1) / (data[0] & 8 ? 2.0 : 1.0);
  std::string path = fuzzsupport::writeInput("in.vyx", data + 1, size - 1);
  std::string obj = fuzzsupport::scratchDir() + "/out.obj";
  float n = GetFaceIDsVyx(path.c_str(), level);
  if (n >= 0 && faceID.size() != size_t(n)) __builtin_trap();
  if (n < 0 && !faceID.empty()) __builtin_trap();
  if (faceID.empty()) {
    for (size_t i = 1; i + 1 < size && i < 9; i += 2) faceID.push_back(data[i] % 8);
  }
  std::vector<uint32_t> before = faceID;
  float r = writeOBJfromVyx(path.c_str(), &obj[0]);
  if (r == 0 && !faceID.empty()) __builtin_trap();
  if (r != 0 && faceID != before) __builtin_trap();
  faceID.clear();
  std::remove(obj.c_str());
  return 0;
}
