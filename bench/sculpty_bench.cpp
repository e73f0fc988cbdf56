// Writes quad-grid OBJ files for the sculpt map and UV scaling benchmarks
// (and the demo sample):
//   sculpty_bench grid PATH N [M]   N x M quads (M = N when left out) on a
//                                   wavy dome, one texture coordinate per
//                                   vertex on the N+1 by M+1 UV grid, faces
//                                   lower-left, upper-left, upper-right,
//                                   lower-right
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 4 || std::strcmp(argv[1], "grid") != 0) return 2;
  long n = std::atol(argv[3]);
  long m = argc > 4 ? std::atol(argv[4]) : n;
  if (n < 1 || m < 1) return 2;
  std::FILE* f = std::fopen(argv[2], "wb");
  if (!f) return 1;
  std::vector<char> buffer(1 << 20);
  std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
  std::fprintf(f, "# %ld x %ld quad grid\n", n, m);
  for (long j = 0; j <= m; ++j)
    for (long i = 0; i <= n; ++i) {
      double x = 2.0 * i / n - 1.0, y = 2.0 * j / m - 1.0;
      double z = 0.6 * std::cos(1.2 * x) * std::cos(1.2 * y) + 0.15 * std::sin(5 * x + 2 * y);
      std::fprintf(f, "v %.6f %.6f %.6f\n", x, 0.8 * y, z);
    }
  for (long j = 0; j <= m; ++j)
    for (long i = 0; i <= n; ++i)
      std::fprintf(f, "vt %.6f %.6f\n", double(i) / n, double(j) / m);
  for (long j = 0; j < m; ++j)
    for (long i = 0; i < n; ++i) {
      long ll = j * (n + 1) + i + 1, lr = ll + 1, ul = ll + n + 1, ur = ul + 1;
      std::fprintf(f, "f %ld/%ld %ld/%ld %ld/%ld %ld/%ld\n", ll, ll, ul, ul, ur, ur, lr, lr);
    }
  return std::fclose(f) == 0 ? 0 : 1;
}
