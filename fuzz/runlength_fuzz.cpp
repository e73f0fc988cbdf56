// Run-length codec: any input decodes without fault, and compressing then
// decompressing restores the input, whole and cut into pieces of many sizes
// (so runs straddle every kind of boundary); the pieces give the same bytes
// as the whole.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "RunLength.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = 1 + data[0] % 97;
  ++data;
  --size;
  using Bytes = std::vector<unsigned char>;
  Bytes decoded, packed, back;
  if (runlength::decompressBuffer(data, size, decoded) != fennick::Status::Ok) std::abort();
  if (decoded.size() != runlength::decodedSize(data, size)) std::abort();
  if (runlength::compressBuffer(data, size, packed) != fennick::Status::Ok) std::abort();
  if (packed.size() % 2 != 0 || packed.size() > 2 * size) std::abort();
  for (size_t i = 0; i < packed.size(); i += 2)
    if (packed[i] == 0) std::abort();  // no empty pair
  if (runlength::decompressBuffer(packed.data(), packed.size(), back) != fennick::Status::Ok)
    std::abort();
  if (back != Bytes(data, data + size)) std::abort();
  // The same input piece by piece, as the file coder reads it.
  Bytes pieces(runlength::encodeRoom(size));
  runlength::Encoder e;
  unsigned char* end = pieces.data();
  for (size_t at = 0; at < size; at += piece)
    end = runlength::encode(e, data + at, size - at < piece ? size - at : piece, end);
  end = runlength::finish(e, end);
  if (Bytes(pieces.data(), end) != packed) std::abort();
  return 0;
}
