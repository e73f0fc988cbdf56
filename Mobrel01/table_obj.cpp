// FennickDLL's C++ name for the OBJ vertex count, over leanOBJ.
#include "Common.h"
#include "FennickDLL.h"
#include "leanOBJ.h"

namespace {

constexpr fennick::ResultCode kVertexCount[] = {
    {fennick::Status::OpenFailed, -1.0f}, {fennick::Status::NoMemory, fennick::kResultNoMemory}};

}  // namespace

float getVertexCount(const char* path) noexcept {
  int32_t count = 0;
  const fennick::Status status = leanobj::countVertices(path, count);
  return status == fennick::Status::Ok ? static_cast<float>(count)
                                       : fennick::resultOf(status, kVertexCount);
}
