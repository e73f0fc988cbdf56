// Writes the file-service benchmark inputs:
//   files_bench obj PATH MB     OBJ text of about MB megabytes (vertex,
//                               texture and face lines)
//   files_bench runs PATH MB    MB megabytes of long runs (up to 5000 bytes)
//                               mixed with stretches of noise
//   files_bench folder DIR N    N empty files in DIR (made if missing), half
//                               with an extension, half without
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const long n = std::atol(argv[3]);
  if (std::strcmp(argv[1], "folder") == 0) {
    mkdir(argv[2], 0700);
    for (long i = 0; i < n; ++i) {
      std::string path = std::string(argv[2]) + "/f" + std::to_string(i) + (i % 2 ? ".txt" : "");
      std::FILE* f = std::fopen(path.c_str(), "wb");
      if (!f) return 1;
      std::fclose(f);
    }
    return 0;
  }
  std::FILE* f = std::fopen(argv[2], "wb");
  if (!f) return 1;
  const uint64_t target = uint64_t(n) << 20;
  uint64_t written = 0;
  if (std::strcmp(argv[1], "obj") == 0) {
    for (long i = 0; written < target; ++i) {
      char line[128];
      int len = i % 3 == 0   ? std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", i * 0.001,
                                             i * 0.002, -i * 0.0005)
                : i % 3 == 1 ? std::snprintf(line, sizeof line, "vt %.6f %.6f\n",
                                             (i % 1000) / 1000.0, (i / 1000) / 1000.0)
                             : std::snprintf(line, sizeof line, "f %ld/%ld %ld/%ld %ld/%ld\n",
                                             i / 3 + 1, i / 3 + 1, i / 3 + 2, i / 3 + 2,
                                             i / 3 + 3, i / 3 + 3);
      std::fwrite(line, 1, size_t(len), f);
      written += uint64_t(len);
    }
  } else if (std::strcmp(argv[1], "runs") == 0) {
    std::mt19937_64 rng(99);
    std::vector<unsigned char> chunk;
    while (written < target) {
      chunk.clear();
      if (rng() % 2) {
        chunk.assign(rng() % 5000 + 1, static_cast<unsigned char>(rng()));
      } else {
        size_t len = rng() % 3000 + 1;
        for (size_t i = 0; i < len; ++i) chunk.push_back(static_cast<unsigned char>(rng()));
      }
      std::fwrite(chunk.data(), 1, chunk.size(), f);
      written += chunk.size();
    }
  } else {
    std::fclose(f);
    return 2;
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
