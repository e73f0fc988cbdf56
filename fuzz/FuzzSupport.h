// Fuzz targets write their input to a scratch file, since the readers take
// paths.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace fuzzsupport {

inline const std::string& scratchDir() {
  static std::string dir = [] {
    char pattern[] = "/tmp/fennick_fuzz_XXXXXX";
    char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp");
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
