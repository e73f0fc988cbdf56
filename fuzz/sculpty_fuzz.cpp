// Sculpt map conversion on any text: the OBJ reader, the checks, the
// painting and the bitmap writer. The reader's fast line paths are held to
// its general line rules (both must leave the same mesh); a bitmap file is
// left only by a write, and a whole one has the size its header states.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "FennickDLL.h"
#include "FuzzSupport.h"
#include "SculptyOps.h"
#include "SculptyReader.h"

namespace {

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void compareReaders(const uint8_t* data, size_t size) {
  // An exact copy, so that the sanitizer sees any read past the end.
  std::unique_ptr<char[]> text(new char[size]);
  if (size) std::memcpy(text.get(), data, size);
  sculpty::Mesh fast, plain;
  sculpty::readObjLines(fast, text.get(), text.get() + size);
  sculpty::readObjLinesPlain(plain, text.get(), text.get() + size);
  if (!sameBits(fast.vertices, plain.vertices) || !sameBits(fast.texIds, plain.texIds) ||
      !sameBits(fast.faces, plain.faces) || fast.firstNonQuad != plain.firstNonQuad ||
      std::memcmp(&fast.largest, &plain.largest, sizeof(float)) != 0 ||
      std::memcmp(&fast.smallest, &plain.smallest, sizeof(float)) != 0 ||
      !sameBits(fast.us.values, plain.us.values) || !sameBits(fast.vs.values, plain.vs.values))
    std::abort();
}

std::string readAll(const std::string& path) {
  std::string bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) bytes.append(block, n);
    std::fclose(f);
  } else {
    bytes = "(none)";
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  compareReaders(data, size);
  std::string obj = fuzzsupport::writeInput("in.obj", data, size);
  std::string bmp = fuzzsupport::scratchDir() + "/out.bmp";
  std::remove(bmp.c_str());
  float result = exportSculpty(obj.c_str(), bmp.c_str(), true);
  // Only a written bitmap (or one cut short) leaves a file; a whole one has
  // the size its header gives.
  const std::string bytes = readAll(bmp);
  if ((bytes != "(none)") != (result == 0.0f || result == -68.0f)) std::abort();
  if (result == 0.0f) {
    if (bytes.size() < 54) std::abort();
    uint32_t stated = 0;
    for (int i = 0; i < 4; ++i) stated |= uint32_t(uint8_t(bytes[2 + i])) << (8 * i);
    if (stated != bytes.size()) std::abort();
  }
  return 0;
}
