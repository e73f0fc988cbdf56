// UV tile count and the split into one file per tile (in a scratch folder
// emptied after each input).
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "FennickDLL.h"
#include "FuzzSupport.h"
#include "VyXOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = fuzzsupport::writeInput("in.vyx", data, size);
  static const std::string split = [] {
    std::string dir = fuzzsupport::scratchDir() + "/split";
    mkdir(dir.c_str(), 0755);
    return dir;
  }();
  char name[64];
  std::memset(name, 0x7F, sizeof name);
  float tiles = GetUVTile(path.c_str(), name);
  if (tiles >= 0 && std::memchr(name, 0, sizeof name) == nullptr) __builtin_trap();
  std::string out = split + "/t.obj";
  float files = GetUVsFromVyX(path.c_str(), &out[0]);
  // Both read the same tile set; a split too large is refused as a whole.
  if (files != tiles && !(files == vyx::kResultSplitTooLarge && tiles > 0)) __builtin_trap();
  if (files >= 0 && UVTileStr.size() != size_t(files)) __builtin_trap();
  if (files < 0 && !UVTileStr.empty()) __builtin_trap();
  for (size_t k = 0; k < UVTileStr.size(); ++k) {
    getUVTileString(int(k), name);
    if (UVTileStr[k] != name) __builtin_trap();
  }
  clearUVTileString();
  if (DIR* d = opendir(split.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') std::remove((split + "/" + e->d_name).c_str());
    closedir(d);
  }
  return 0;
}
