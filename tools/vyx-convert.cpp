// vyx-convert: runs the VyX conversions of FennickDLL, which have C++ names
// only, by loading the library and binding those names.
//
//   vyx-convert LIBRARY obj FACES.vyx LEVEL MESH.vyx OUT.obj
//       GetFaceIDsVyx(FACES.vyx, LEVEL), then writeOBJfromVyx(MESH.vyx, OUT.obj)
//   vyx-convert LIBRARY tiles MESH.vyx OUTPUT
//       GetUVTile, GetUVsFromVyX(MESH.vyx, OUTPUT), getUVTileString for each
//       file, clearUVTileString
//   vyx-convert LIBRARY colours COLOURS.vyx OUT.txt
//       ReadVertColorVyx
//   vyx-convert LIBRARY merge APPEND TARGET
//       mergeFiles
// Prints each call and its result; exits 1 when a call fails (a negative
// result, or a positive one where 0 means success).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EditionLoader.h"
#include "EditionSymbols.h"

namespace {

using PathText = float (*)(const char*, char*);
using PathLevel = float (*)(const char*, double);
using IndexText = void (*)(int, char*);
using NoArgs = void (*)();

void* library = nullptr;

template <class Fn>
Fn bind(const char* mangled, const char* name) {
  void* f = loader::symbol(library, mangled);
  if (!f) {
    std::fprintf(stderr, "vyx-convert: %s (%s) not found\n", name, mangled);
    std::exit(2);
  }
  return reinterpret_cast<Fn>(f);
}

float show(const char* call, float result) {
  std::printf("%s -> %g\n", call, double(result));
  return result;
}

std::string args(const char* a, const char* b) { return std::string("(") + a + ", " + b + ")"; }

int usage() {
  std::fprintf(stderr,
               "usage: vyx-convert LIBRARY obj FACES.vyx LEVEL MESH.vyx OUT.obj\n"
               "       vyx-convert LIBRARY tiles MESH.vyx OUTPUT\n"
               "       vyx-convert LIBRARY colours COLOURS.vyx OUT.txt\n"
               "       vyx-convert LIBRARY merge APPEND TARGET\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  library = loader::open(argv[1]);
  if (!library) {
    std::fprintf(stderr, "vyx-convert: %s\n", loader::lastError().c_str());
    return 2;
  }
  std::string command = argv[2];
  if (command == "obj" && argc == 7) {
    auto faceIDs = bind<PathLevel>(decorated::GetFaceIDsVyx, "GetFaceIDsVyx");
    auto toObj = bind<PathText>(decorated::writeOBJfromVyx, "writeOBJfromVyx");
    double level = std::strtod(argv[4], nullptr);
    float n = show(("GetFaceIDsVyx" + args(argv[3], argv[4])).c_str(), faceIDs(argv[3], level));
    if (n < 0) return 1;
    return show(("writeOBJfromVyx" + args(argv[5], argv[6])).c_str(), toObj(argv[5], argv[6])) == 0 ? 0 : 1;
  }
  if (command == "tiles" && argc == 5) {
    auto uvTile = bind<PathText>(decorated::GetUVTile, "GetUVTile");
    auto split = bind<PathText>(decorated::GetUVsFromVyX, "GetUVsFromVyX");
    auto tileString = bind<IndexText>(decorated::getUVTileString, "getUVTileString");
    auto clear = bind<NoArgs>(decorated::clearUVTileString, "clearUVTileString");
    static char name[4096];
    float tiles = show(("GetUVTile(" + std::string(argv[3]) + ")").c_str(), uvTile(argv[3], name));
    if (tiles < 0) return 1;
    std::printf("  last face's tile: %s\n", name);
    float files = show(("GetUVsFromVyX" + args(argv[3], argv[4])).c_str(), split(argv[3], argv[4]));
    if (files < 0 || files >= 1500) return 1;
    for (int k = 0; k < int(files); ++k) {
      name[0] = '\0';
      tileString(k, name);
      std::printf("  getUVTileString(%d) -> %s\n", k, name);
    }
    clear();
    std::printf("clearUVTileString()\n");
    return 0;
  }
  if (command == "colours" && argc == 5) {
    auto colours = bind<PathText>(decorated::ReadVertColorVyx, "ReadVertColorVyx");
    return show(("ReadVertColorVyx" + args(argv[3], argv[4])).c_str(), colours(argv[3], argv[4])) == 0 ? 0 : 1;
  }
  if (command == "merge" && argc == 5) {
    auto merge = bind<PathText>(decorated::mergeFiles, "mergeFiles");
    return show(("mergeFiles" + args(argv[3], argv[4])).c_str(), merge(argv[3], argv[4])) == 0 ? 0 : 1;
  }
  return usage();
}
