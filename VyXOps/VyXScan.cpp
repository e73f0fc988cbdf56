// Byte readers, the block scan and the vertex count of a VyX file.
#include <cstring>

#include "FennickDLL.h"
#include "TextOps.h"
#include "VyXOps.h"

unsigned int readUnInt(char b0, char b1, char b2, char b3) {
  return static_cast<unsigned int>(static_cast<unsigned char>(b0)) |
         static_cast<unsigned int>(static_cast<unsigned char>(b1)) << 8 |
         static_cast<unsigned int>(static_cast<unsigned char>(b2)) << 16 |
         static_cast<unsigned int>(static_cast<unsigned char>(b3)) << 24;
}

int readSignInt(char b0, char b1, char b2, char b3) {
  unsigned int bits = readUnInt(b0, b1, b2, b3);
  int value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

float readaFloat(char b0, char b1, char b2, char b3) {
  unsigned int bits = readUnInt(b0, b1, b2, b3);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

short readShort(char b0, char b1) {
  auto bits = static_cast<unsigned short>(static_cast<unsigned char>(b0) |
                                          static_cast<unsigned char>(b1) << 8);
  short value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

int readanInt(char b0) { return static_cast<unsigned char>(b0); }

namespace vyx {

bool scanBlocks(HeaderReader read, const void* context, uint32_t tag,
                uint64_t limit, uint32_t& foundAt) {
  uint32_t p = kFileHeaderSize;
  unsigned char header[16];
  for (;;) {
    if (!read(context, p, header)) return false;
    uint32_t blockTag = u32le(header);
    if (blockTag == tag) {
      if (p < limit) {
        foundAt = p;
        return true;
      }
      return false;
    }
    if (p >= limit) return false;
    uint32_t size = u32le(header + 4);
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

// The first n bytes of a file, read where the scan looks: a head read at
// once, further headers on demand, and the bytes past the end of a shorter
// file as copies of its last byte.
struct FilePrefix {
  std::FILE* file;
  uint64_t length;    // n: the length the scan sees
  uint64_t realSize;  // bytes of the file within the first n
  unsigned char pad;  // value of every byte from realSize to length
  unsigned char head[4096];
  size_t headSize;
};

bool readPrefixHeader(const void* context, uint64_t pos, unsigned char header[16]) {
  const auto* f = static_cast<const FilePrefix*>(context);
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

}  // namespace vyx

float GetVertCountFromVyX(const char* path, int n) noexcept {
  textops::FilePtr file = textops::openRead(path);
  if (!file) return vyx::kResultOpenFailed;
  vyx::FilePrefix state;
  vyx::FilePrefix* prefix = &state;
  uint64_t length = n > 0 ? uint64_t(n) : 0;
  prefix->file = file.get();
  prefix->length = length;
  prefix->headSize = textops::readFully(file.get(), prefix->head,
                                        length < sizeof prefix->head ? size_t(length)
                                                                     : sizeof prefix->head);
  const textops::PoisonedRest unread(prefix->head, prefix->headSize, sizeof prefix->head);
  prefix->realSize = prefix->headSize;
  prefix->pad = 0;
  if (prefix->headSize < length && prefix->headSize == sizeof prefix->head) {
    int64_t size = textops::fileSize(file.get());
    prefix->realSize = size < 0 ? prefix->headSize
                                : (uint64_t(size) < length ? uint64_t(size) : length);
  }
  if (prefix->realSize < length && prefix->realSize > 0) {
    // The file ends within the n bytes: the rest repeats its last byte.
    if (prefix->realSize <= prefix->headSize) {
      prefix->pad = prefix->head[prefix->realSize - 1];
    } else {
      unsigned char last = 0;
      if (textops::seekTo(file.get(), int64_t(prefix->realSize - 1)) &&
          textops::readFully(file.get(), &last, 1) == 1)
        prefix->pad = last;
    }
  }
  uint32_t at = 0;
  uint64_t limit = length >= 20 ? length - 20 : 0;
  const bool found = vyx::scanBlocks(vyx::readPrefixHeader, prefix, vyx::kTagVertices, limit, at);
  // A read error is no end of the file: the scan would have missed blocks.
  if (std::ferror(file.get())) return vyx::kResultOpenFailed;
  if (!found) return vyx::kResultNoBlock;
  unsigned char header[16];
  vyx::readPrefixHeader(prefix, at, header);
  return static_cast<float>(vyx::u32le(header + 8));
}
