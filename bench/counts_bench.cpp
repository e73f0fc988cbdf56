// Writes the vertex-count benchmark inputs:
//   counts_bench obj PATH N   an OBJ of N vertex lines, N texture lines and
//                             N quad faces (about 100 MB for N = 1M)
//   counts_bench vyx PATH MB  a VyX file of MB megabytes whose first block
//                             is the vertex block
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "VyXWriter.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  long n = std::atol(argv[3]);
  if (std::strcmp(argv[1], "obj") == 0) {
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    for (long i = 0; i < n; ++i)
      std::fprintf(f, "v %.6f %.6f %.6f\n", i * 0.001, i * 0.002, -i * 0.0005);
    for (long i = 0; i < n; ++i) std::fprintf(f, "vt %.6f %.6f\n", (i % 1000) / 1000.0, (i / 1000) / 1000.0);
    for (long i = 0; i + 3 < n; ++i)
      std::fprintf(f, "f %ld/%ld %ld/%ld %ld/%ld %ld/%ld\n", i + 1, i + 1, i + 2, i + 2, i + 3, i + 3, i + 4, i + 4);
    return std::fclose(f) == 0 ? 0 : 1;
  }
  if (std::strcmp(argv[1], "vyx") == 0) {
    vyxgen::Block v;
    v.tag = 10001;
    v.count = uint32_t(n * 1000000 / 12);
    v.records.assign(size_t(n) * 1000000, 0x3F);
    return vyxgen::writeFile(argv[2], vyxgen::fileBytes({v})) ? 0 : 1;
  }
  return 2;
}
