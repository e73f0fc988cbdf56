// Face IDs of a face-first VyX file and the number of distinct face groups.
#include <cmath>
#include <cstring>

#include "Common.h"
#include "FennickDLL.h"
#include "TextOps.h"
#include "VyXOps.h"

std::vector<uint32_t> faceID;

namespace {

constexpr size_t kFaceRecord = 16;

}  // namespace

float GetUVGroup(const char* path) noexcept {
  return fennick::guarded([&] {
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(path, file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultGroupOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    const unsigned char* data = file.data.get();
    uint32_t p = 0;
    if (!vyx::scanBuffer(data, file.size, vyx::kTagGroups, file.size, p))
      return vyx::kResultNoBlock;
    uint64_t n = vyx::u32le(data + p + 8);
    uint64_t first = uint64_t(p) + vyx::kBlockHeaderSize;
    if (n * 2 > file.size - first) return vyx::kResultPastEnd;
    // One bit per 16-bit value: distinct values without any allocation.
    uint64_t seen[65536 / 64] = {};
    uint32_t distinct = 0;
    const unsigned char* r = data + first;
    for (uint64_t i = 0; i < n; ++i, r += 2) {
      uint32_t v = uint32_t(r[0]) | uint32_t(r[1]) << 8;
      uint64_t bit = uint64_t(1) << (v & 63);
      if (!(seen[v >> 6] & bit)) {
        seen[v >> 6] |= bit;
        ++distinct;
      }
    }
    return float(distinct);
  });
}

float GetFaceIDsVyx(const char* path, double level) noexcept {
  return fennick::guarded([&] {
    int32_t m = fennick::toInt32Truncated(std::pow(4.0, level - 1.0));
    faceID.clear();
    textops::FileBytes file;
    if (fennick::Status status = textops::readWholeFile(path, file);
        status != fennick::Status::Ok) {
      return fennick::resultOf(status, {{fennick::Status::OpenFailed, vyx::kResultOpenFailed}, {fennick::Status::NoMemory, fennick::kResultNoMemory}});
    }
    const unsigned char* data = file.data.get();
    constexpr size_t first = vyx::kFileHeaderSize + vyx::kBlockHeaderSize;
    if (file.size < first) return vyx::kResultPastEnd;
    uint64_t nf = vyx::u32le(data + 40);
    if (nf * kFaceRecord > file.size - first) return vyx::kResultPastEnd;
    // 32-bit products, stored unsigned (a multiplier of INT32_MIN wraps).
    const uint32_t triangle = 3u * uint32_t(m), quad = 4u * uint32_t(m);
    faceID.resize(size_t(nf));
    const unsigned char* fourth = data + first + 12;
    for (size_t k = 0; k < nf; ++k, fourth += kFaceRecord)
      faceID[k] = (fourth[3] & 0x80) ? triangle : quad;
    return float(nf);
  });
}
