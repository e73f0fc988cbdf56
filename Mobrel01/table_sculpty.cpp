// FennickDLL's C++ names for sculpt maps, over SculptyOps.
#include "Common.h"
#include "FennickDLL.h"
#include "SculptyOps.h"

namespace {

using fennick::Status;

constexpr fennick::ResultCode kSculptMap[] = {
    {Status::OpenFailed, -1.0f},    {Status::FaceCount, -64.0f}, {Status::TooLarge, -2048.0f},
    {Status::NotQuad, -65.0f},      {Status::BadIndex, -66.0f},  {Status::OffCell, -67.0f},
    {Status::CreateFailed, -4.0f},  {Status::WriteFailed, -68.0f},
    {Status::OutputIsInput, -69.0f}, {Status::NoMemory, fennick::kResultNoMemory}};

}  // namespace

int getPadding(int width) { return sculpty::rowPadding(width); }

float exportSculpty(const char* objPath, const char* bmpPath, bool flag) noexcept {
  (void)flag;  // kept for callers; it changes nothing
  return fennick::resultOf(
      fennick::guardedStatus([&] { return sculpty::exportSculptMap(objPath, bmpPath); }),
      kSculptMap);
}
