// The two vertex counts both editions export (FennickDLL as GetVertsVyX,
// FennickDLL02 as GetVertsVyx; GetVertsOBJ in both): one result table and
// one body each, so that the editions cannot drift apart.
#pragma once

#include <cstdint>

#include "Common.h"
#include "ExportArgs.h"
#include "VyXCore.h"
#include "leanOBJ.h"

namespace fennick {

constexpr ResultCode kVertsVyXResults[] = {{Status::OpenFailed, -1760.0f},
                                           {Status::NoBlock, -18.0f},
                                           {Status::NoMemory, kResultNoMemory}};

// text: VyX path; number: the byte count (byteCountArg).
inline float vertsVyXExport(const char* text, double number) {
  uint32_t count = 0;
  const Status status = vyx::vertexCountOfFile(text, byteCountArg(number), count);
  return status == Status::Ok ? static_cast<float>(count) : resultOf(status, kVertsVyXResults);
}

constexpr ResultCode kVertsOBJResults[] = {{Status::OpenFailed, -1.0f},
                                           {Status::NoMemory, kResultNoMemory}};

// text: OBJ path.
inline float vertsOBJExport(const char* text) {
  int32_t count = 0;
  const Status status = leanobj::countVertices(text, count);
  return status == Status::Ok ? static_cast<float>(count) : resultOf(status, kVertsOBJResults);
}

}  // namespace fennick
