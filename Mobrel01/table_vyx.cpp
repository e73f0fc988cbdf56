// FennickDLL's VyX functions and variables under their C++ names: each runs
// the VyX module's operation and answers its status as the number of the
// function's own table.
#include <cstring>

#include "Common.h"
#include "FennickDLL.h"
#include "LittleEndian.h"
#include "VyXOps.h"

using fennick::ResultCode;
using fennick::Status;

std::vector<uint32_t> faceID;
std::vector<std::string> UVTileStr;

namespace {

constexpr float kOpenFailed = -1760.0f;
constexpr float kNoBlock = -18.0f;
constexpr float kPastEnd = -19.0f;
constexpr float kOutputIsInput = -21.0f;
constexpr float kCreateFailed = -2.0f;
constexpr float kNoMemory = fennick::kResultNoMemory;

constexpr ResultCode kVertexCount[] = {{Status::OpenFailed, kOpenFailed},
                                       {Status::NoBlock, kNoBlock}};
constexpr ResultCode kUVGroup[] = {{Status::OpenFailed, -17.0f},
                                   {Status::NoBlock, kNoBlock},
                                   {Status::PastEnd, kPastEnd},
                                   {Status::NoMemory, kNoMemory}};
constexpr ResultCode kFaceIDs[] = {{Status::OpenFailed, kOpenFailed},
                                   {Status::PastEnd, kPastEnd},
                                   {Status::NoMemory, kNoMemory}};
// A wrong block tag is answered as the tag itself (not in the table).
constexpr ResultCode kWriteObj[] = {{Status::NoFaceIDs, -18.0f},
                                    {Status::OpenFailed, kOpenFailed},
                                    {Status::OutputIsInput, kOutputIsInput},
                                    {Status::ZeroTag, -20.0f},
                                    {Status::PastEnd, kPastEnd},
                                    {Status::CreateFailed, kCreateFailed},
                                    {Status::NoMemory, kNoMemory}};
constexpr ResultCode kVertColours[] = {{Status::OpenFailed, kOpenFailed},
                                       {Status::OutputIsInput, kOutputIsInput},
                                       {Status::PastEnd, kPastEnd},
                                       {Status::CreateFailed, kCreateFailed},
                                       {Status::NoMemory, kNoMemory}};
constexpr ResultCode kUVTile[] = {{Status::OpenFailed, -17.0f},
                                  {Status::NoBlock, kNoBlock},
                                  {Status::PastEnd, kPastEnd},
                                  {Status::NoMemory, kNoMemory}};
// Tile file k that cannot be created or written is answered as 1500 + k + 1
// (not in the table).
constexpr float kTileFileBase = 1500.0f;
constexpr ResultCode kSplit[] = {{Status::OpenFailed, kOpenFailed},
                                 {Status::NoBlock, kNoBlock},
                                 {Status::PastEnd, kPastEnd},
                                 {Status::OutputIsInput, kOutputIsInput},
                                 {Status::TooLarge, -22.0f},
                                 {Status::NoMemory, kNoMemory}};
constexpr ResultCode kMerge[] = {{Status::TargetReadFailed, -2760.0f},
                                 {Status::OpenFailed, kOpenFailed},
                                 {Status::TargetWriteFailed, -3760.0f},
                                 {Status::NoMemory, kNoMemory}};

// The four bytes of a reader's arguments, least significant first.
struct Bytes4 {
  unsigned char b[4];
  Bytes4(char b0, char b1, char b2, char b3)
      : b{static_cast<unsigned char>(b0), static_cast<unsigned char>(b1),
          static_cast<unsigned char>(b2), static_cast<unsigned char>(b3)} {}
};

}  // namespace

unsigned int readUnInt(char b0, char b1, char b2, char b3) {
  return le::loadU32(Bytes4(b0, b1, b2, b3).b);
}

int readSignInt(char b0, char b1, char b2, char b3) {
  return le::loadI32(Bytes4(b0, b1, b2, b3).b);
}

float readaFloat(char b0, char b1, char b2, char b3) {
  return le::loadF32(Bytes4(b0, b1, b2, b3).b);
}

short readShort(char b0, char b1) {
  const unsigned char b[2] = {static_cast<unsigned char>(b0), static_cast<unsigned char>(b1)};
  const uint16_t bits = le::loadU16(b);
  short value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int readanInt(char b0) { return static_cast<unsigned char>(b0); }

float GetVertCountFromVyX(const char* path, int n) noexcept {
  uint32_t count = 0;
  const Status status = vyx::vertexCountOfFile(path, n, count);
  return status == Status::Ok ? static_cast<float>(count) : fennick::resultOf(status, kVertexCount);
}

float GetUVGroup(const char* path) noexcept {
  return fennick::guarded([&] {
    uint32_t distinct = 0;
    const Status status = vyx::groupCountOfFile(path, distinct);
    return status == Status::Ok ? float(distinct) : fennick::resultOf(status, kUVGroup);
  });
}

float GetFaceIDsVyx(const char* path, double level) noexcept {
  return fennick::guarded([&] {
    const Status status = vyx::faceIDsOfFile(path, level, faceID);
    return status == Status::Ok ? float(faceID.size()) : fennick::resultOf(status, kFaceIDs);
  });
}

float writeOBJfromVyx(const char* vyxPath, char* objPath) noexcept {
  return fennick::guarded([&] {
    vyx::TagFound found;
    const Status status = vyx::writeObj(vyxPath, objPath, faceID, found);
    if (status == Status::WrongTag) return static_cast<float>(found.tag);
    return fennick::resultOf(status, kWriteObj);
  });
}

float ReadVertColorVyx(const char* vyxPath, char* textPath) noexcept {
  return fennick::guarded(
      [&] { return fennick::resultOf(vyx::writeColours(vyxPath, textPath), kVertColours); });
}

float GetUVTile(const char* vyxPath, char* name) noexcept {
  return fennick::guarded([&] {
    size_t count = 0;
    std::string last;
    const Status status = vyx::tileCountOfFile(vyxPath, count, last);
    if (status != Status::Ok) return fennick::resultOf(status, kUVTile);
    if (name) std::memcpy(name, last.c_str(), last.size() + 1);
    return float(count);
  });
}

float GetUVsFromVyX(const char* vyxPath, char* outputPath) noexcept {
  return fennick::guarded([&] {
    vyx::SplitResult split;
    const Status status = vyx::splitTiles(vyxPath, outputPath, UVTileStr, split);
    if (status == Status::Ok) return float(split.count);
    if (status == Status::CreateFailed) return kTileFileBase + float(split.failedFile + 1);
    return fennick::resultOf(status, kSplit);
  });
}

void getUVTileString(int index, char* name) {
  if (!name || index < 0 || size_t(index) >= UVTileStr.size()) return;
  const std::string& s = UVTileStr[size_t(index)];
  std::memcpy(name, s.c_str(), s.size() + 1);
}

void clearUVTileString() { UVTileStr.clear(); }

float mergeFiles(const char* appendPath, char* targetPath) noexcept {
  return fennick::guarded(
      [&] { return fennick::resultOf(vyx::mergeFiles(appendPath, targetPath), kMerge); });
}
