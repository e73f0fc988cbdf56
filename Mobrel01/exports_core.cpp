// Exports of FennickDLL: version and vertex counts.
#include "ExportArgs.h"
#include "FennickDLL.h"
#include "leanOBJ.h"
#include "VyXCore.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

constexpr fennick::ResultCode kGetVertsVyX[] = {{fennick::Status::OpenFailed, -1760.0f},
                                          {fennick::Status::NoBlock, -18.0f}};

extern "C" float GetVertsVyX(char* text, double number, char*) {
  uint32_t count = 0;
  const fennick::Status status = vyx::vertexCountOfFile(text, fennick::byteCountArg(number), count);
  return status == fennick::Status::Ok ? static_cast<float>(count) : fennick::resultOf(status, kGetVertsVyX);
}

constexpr fennick::ResultCode kGetVertsOBJ[] = {
    {fennick::Status::OpenFailed, -1.0f}, {fennick::Status::NoMemory, fennick::kResultNoMemory}};

extern "C" float GetVertsOBJ(char* text, double, char*) {
  int32_t count = 0;
  const fennick::Status status = leanobj::countVertices(text, count);
  return status == fennick::Status::Ok ? static_cast<float>(count)
                                       : fennick::resultOf(status, kGetVertsOBJ);
}
