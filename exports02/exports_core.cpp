// Exports of FennickDLL02: version and vertex counts, over the modules'
// own counts.
#include "ExportArgs.h"
#include "FennickDLL02.h"
#include "leanOBJ.h"
#include "VyXCore.h"

extern "C" float Version(char*, double, char*) { return 2.0f; }

constexpr fennick::ResultCode kGetVertsVyx[] = {{fennick::Status::OpenFailed, -1760.0f},
                                          {fennick::Status::NoBlock, -18.0f}};

extern "C" float GetVertsVyx(char* text, double number, char*) {
  uint32_t count = 0;
  const fennick::Status status = vyx::vertexCountOfFile(text, fennick::byteCountArg(number), count);
  return status == fennick::Status::Ok ? static_cast<float>(count) : fennick::resultOf(status, kGetVertsVyx);
}

constexpr fennick::ResultCode kGetVertsOBJ[] = {
    {fennick::Status::OpenFailed, -1.0f}, {fennick::Status::NoMemory, fennick::kResultNoMemory}};

extern "C" float GetVertsOBJ(char* text, double, char*) {
  int32_t count = 0;
  const fennick::Status status = leanobj::countVertices(text, count);
  return status == fennick::Status::Ok ? static_cast<float>(count)
                                       : fennick::resultOf(status, kGetVertsOBJ);
}
