// Sculpt map conversion on any text, in memory: the OBJ reader, the checks,
// the painting and the bitmap writer. The reader's fast line paths are held
// to its general line rules (both must leave the same mesh); a bitmap is
// written only when the mesh was painted, and a whole one has the size its
// header states.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "Common.h"
#include "LittleEndian.h"
#include "SculptyOps.h"
#include "SculptyReader.h"
#include "TextOps.h"

namespace {

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// Reads with both readers; the fast reader's mesh is left in `fast`.
void compareReaders(const uint8_t* data, size_t size, sculpty::Mesh& fast) {
  // An exact copy, so that the sanitizer sees any read past the end.
  std::unique_ptr<char[]> text(new char[size]);
  if (size) std::memcpy(text.get(), data, size);
  sculpty::Mesh plain;
  sculpty::readObjLines(fast, text.get(), text.get() + size);
  sculpty::readObjLinesPlain(plain, text.get(), text.get() + size);
  if (!sameBits(fast.vertices, plain.vertices) || !sameBits(fast.texIds, plain.texIds) ||
      !sameBits(fast.faces, plain.faces) || fast.firstNonQuad != plain.firstNonQuad ||
      std::memcmp(&fast.largest, &plain.largest, sizeof(float)) != 0 ||
      std::memcmp(&fast.smallest, &plain.smallest, sizeof(float)) != 0 ||
      !sameBits(fast.us.values, plain.us.values) || !sameBits(fast.vs.values, plain.vs.values))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sculpty::Mesh mesh;
  compareReaders(data, size, mesh);
  std::string bytes;
  textops::OutFile out;
  if (textops::openOutMemory(out, bytes, 4096) != fennick::Status::Ok) return 0;
  const fennick::Status status =
      fennick::guardedStatus([&] { return sculpty::writeSculptMap(mesh, out); });
  if (!textops::closeOut(out)) return 0;  // no memory for the bitmap
  // Only a painted map is written, and a whole one has the size its header
  // gives.
  if (status != fennick::Status::Ok) {
    if (!bytes.empty()) std::abort();
    return 0;
  }
  if (bytes.size() < 54) std::abort();
  if (le::loadU32(reinterpret_cast<const unsigned char*>(bytes.data()) + 2) != bytes.size())
    std::abort();
  return 0;
}
