// The block scan and the vertex count of a VyX file.
#include <cstring>

#include "LittleEndian.h"
#include "TextOps.h"
#include "VyXCore.h"

namespace vyx {

bool scanBlocks(HeaderReader read, const void* context, uint32_t tag,
                uint64_t limit, uint32_t& foundAt) {
  uint32_t p = kFileHeaderSize;
  unsigned char header[16];
  for (;;) {
    if (!read(context, p, header)) return false;
    uint32_t blockTag = le::loadU32(header);
    if (blockTag == tag) {
      if (p < limit) {
        foundAt = p;
        return true;
      }
      return false;
    }
    if (p >= limit) return false;
    uint32_t size = le::loadU32(header + 4);
    uint32_t next = p + (size == 0 ? kBlockHeaderSize : size);  // wraps as u32
    if (next <= p) return false;
    p = next;
  }
}

namespace {

struct MemoryBytes {
  const unsigned char* data;
  size_t size;
};

bool readMemoryHeader(const void* context, uint64_t pos, unsigned char header[16]) {
  const auto* bytes = static_cast<const MemoryBytes*>(context);
  if (pos > bytes->size || bytes->size - pos < kBlockHeaderSize) return false;
  std::memcpy(header, bytes->data + pos, kBlockHeaderSize);
  return true;
}

// The first n bytes of a file or buffer, read where the scan looks: a head
// held in memory, further headers read from the file on demand, and the
// bytes past the end of shorter data as copies of its last byte.
struct Prefix {
  std::FILE* file = nullptr;
  uint64_t length = 0;    // n: the length the scan sees
  uint64_t realSize = 0;  // bytes of the data within the first n
  unsigned char pad = 0;  // value of every byte from realSize to length
  const unsigned char* head = nullptr;
  size_t headSize = 0;
};

bool readPrefixHeader(const void* context, uint64_t pos, unsigned char header[16]) {
  const auto* f = static_cast<const Prefix*>(context);
  if (pos > f->length || f->length - pos < kBlockHeaderSize) return false;
  // A header wholly in the padding has the tag pad*0x01010101, which is no
  // block tag the library looks for; nothing beyond it can match either.
  if (pos >= f->realSize) return false;
  std::memset(header, f->pad, kBlockHeaderSize);
  uint64_t realEnd = f->realSize < pos + 16 ? f->realSize : pos + 16;
  size_t realBytes = size_t(realEnd - pos);
  if (realEnd <= f->headSize) {
    std::memcpy(header, f->head + pos, realBytes);
    return true;
  }
  if (!textops::seekTo(f->file, int64_t(pos))) return false;
  return textops::readFully(f->file, header, realBytes) == realBytes;
}

constexpr bool allBytesEqual(uint32_t v) {
  return (v & 0xFF) == ((v >> 8) & 0xFF) && (v & 0xFF) == ((v >> 16) & 0xFF) &&
         (v & 0xFF) == (v >> 24);
}
static_assert(!allBytesEqual(kTagVertices) && !allBytesEqual(kTagFaces) &&
                  !allBytesEqual(kTagUVs) && !allBytesEqual(kTagColours) &&
                  !allBytesEqual(kTagGroups),
              "the padding shortcut relies on no tag being four equal bytes");

}  // namespace

bool scanBuffer(const unsigned char* data, size_t size, uint32_t tag,
                uint64_t limit, uint32_t& foundAt) {
  MemoryBytes bytes{data, size};
  return scanBlocks(readMemoryHeader, &bytes, tag, limit, foundAt);
}

namespace {

uint64_t prefixLength(int n) { return n > 0 ? uint64_t(n) : 0; }

// The scan for the vertex block over a prepared prefix.
bool findVertices(const Prefix& prefix, uint32_t& at) {
  const uint64_t limit = prefix.length >= 20 ? prefix.length - 20 : 0;
  return scanBlocks(readPrefixHeader, &prefix, kTagVertices, limit, at);
}

uint32_t countAt(const Prefix& prefix, uint32_t at) {
  unsigned char header[16];
  readPrefixHeader(&prefix, at, header);
  return le::loadU32(header + 8);
}

}  // namespace

fennick::Status vertexCount(const unsigned char* data, size_t size, int n, uint32_t& count) {
  Prefix prefix;
  prefix.length = prefixLength(n);
  prefix.head = data;
  prefix.headSize = size_t(size < prefix.length ? size : prefix.length);
  prefix.realSize = prefix.headSize;
  if (prefix.realSize < prefix.length && prefix.realSize > 0)
    prefix.pad = data[prefix.realSize - 1];
  uint32_t at = 0;
  if (!findVertices(prefix, at)) return fennick::Status::NoBlock;
  count = countAt(prefix, at);
  return fennick::Status::Ok;
}

fennick::Status vertexCountOfFile(const char* path, int n, uint32_t& count) noexcept {
  textops::FilePtr file = textops::openRead(path);
  if (!file) return fennick::Status::OpenFailed;
  unsigned char head[4096];
  Prefix prefix;
  const uint64_t length = prefixLength(n);
  prefix.file = file.get();
  prefix.length = length;
  prefix.head = head;
  prefix.headSize = textops::readFully(file.get(), head,
                                       length < sizeof head ? size_t(length) : sizeof head);
  const textops::PoisonedRest unread(head, prefix.headSize, sizeof head);
  prefix.realSize = prefix.headSize;
  if (prefix.headSize < length && prefix.headSize == sizeof head) {
    int64_t size = textops::fileSize(file.get());
    prefix.realSize = size < 0 ? prefix.headSize
                               : (uint64_t(size) < length ? uint64_t(size) : length);
  }
  if (prefix.realSize < length && prefix.realSize > 0) {
    // The file ends within the n bytes: the rest repeats its last byte.
    if (prefix.realSize <= prefix.headSize) {
      prefix.pad = head[prefix.realSize - 1];
    } else {
      unsigned char last = 0;
      if (textops::seekTo(file.get(), int64_t(prefix.realSize - 1)) &&
          textops::readFully(file.get(), &last, 1) == 1)
        prefix.pad = last;
    }
  }
  uint32_t at = 0;
  const bool found = findVertices(prefix, at);
  // A read error is no end of the file: the scan would have missed blocks.
  if (std::ferror(file.get())) return fennick::Status::OpenFailed;
  if (!found) return fennick::Status::NoBlock;
  count = countAt(prefix, at);
  return fennick::Status::Ok;
}

}  // namespace vyx

