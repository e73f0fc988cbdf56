// Fuzz targets write their input to a scratch file, since the readers take
// paths.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

// The scratch folder, removed with what is in it when the run ends.
inline char* scratchPath() {
  static char path[] = "/tmp/fennick_fuzz_XXXXXX";
  return path;
}

inline const std::string& scratchDir() {
  static std::string dir = [] {
    if (!mkdtemp(scratchPath())) return std::string("/tmp");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratchPath(), ignored);
    });
    return std::string(scratchPath());
  }();
  return dir;
}

inline std::string writeInput(const char* name, const uint8_t* data, size_t size) {
  std::string path = scratchDir() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace fuzzsupport
