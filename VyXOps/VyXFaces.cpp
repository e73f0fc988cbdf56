// Face IDs of a face-first VyX file and the number of distinct face groups.
#include <cmath>

#include "LittleEndian.h"
#include "VyXOps.h"

namespace vyx {

namespace {

constexpr size_t kFaceRecord = 16;

}  // namespace

fennick::Status groupCount(const unsigned char* data, size_t size, uint32_t& distinct) {
  uint32_t p = 0;
  if (!scanBuffer(data, size, kTagGroups, size, p)) return fennick::Status::NoBlock;
  uint64_t n = le::loadU32(data + p + 8);
  uint64_t first = uint64_t(p) + kBlockHeaderSize;
  if (n * 2 > size - first) return fennick::Status::PastEnd;
  // One bit per 16-bit value: distinct values without any allocation.
  uint64_t seen[65536 / 64] = {};
  uint32_t found = 0;
  const unsigned char* r = data + first;
  for (uint64_t i = 0; i < n; ++i, r += 2) {
    uint32_t v = le::loadU16(r);
    uint64_t bit = uint64_t(1) << (v & 63);
    if (!(seen[v >> 6] & bit)) {
      seen[v >> 6] |= bit;
      ++found;
    }
  }
  distinct = found;
  return fennick::Status::Ok;
}

fennick::Status groupCountOfFile(const char* path, uint32_t& distinct) {
  textops::FileBytes file;
  if (fennick::Status status = textops::readWholeFile(path, file); status != fennick::Status::Ok)
    return status;
  return groupCount(file.data.get(), file.size, distinct);
}

fennick::Status faceIDs(const unsigned char* data, size_t size, double level,
                        std::vector<uint32_t>& ids) {
  ids.clear();
  constexpr size_t first = kFileHeaderSize + kBlockHeaderSize;
  if (size < first) return fennick::Status::PastEnd;
  uint64_t nf = le::loadU32(data + 40);
  if (nf * kFaceRecord > size - first) return fennick::Status::PastEnd;
  const int32_t m = fennick::toInt32Truncated(std::pow(4.0, level - 1.0));
  // 32-bit products, stored unsigned (a multiplier of INT32_MIN wraps).
  const uint32_t triangle = 3u * uint32_t(m), quad = 4u * uint32_t(m);
  ids.resize(size_t(nf));
  const unsigned char* fourth = data + first + 12;
  for (size_t k = 0; k < nf; ++k, fourth += kFaceRecord)
    ids[k] = (fourth[3] & 0x80) ? triangle : quad;
  return fennick::Status::Ok;
}

fennick::Status faceIDsOfFile(const char* path, double level, std::vector<uint32_t>& ids) {
  ids.clear();
  textops::FileBytes file;
  if (fennick::Status status = textops::readWholeFile(path, file); status != fennick::Status::Ok)
    return status;
  return faceIDs(file.data.get(), file.size, level, ids);
}

}  // namespace vyx
