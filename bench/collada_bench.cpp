// Writes the COLLADA export benchmark input:
//   collada_bench PATH SIDE GROUPS
// a quad grid of SIDE x SIDE faces over a gently waving height field (so
// that normals vary), with one texture coordinate per grid point and GROUPS
// groups of whole rows (SIDE 1000 gives 1M faces, about 120 MB).
#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  long side = std::atol(argv[2]);
  long groups = std::atol(argv[3]);
  if (side < 1 || groups < 1) return 2;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 1;
  static char buffer[1 << 20];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  const long n = side + 1;
  std::fprintf(f, "# quad grid %ld x %ld\n", side, side);
  for (long j = 0; j < n; ++j)
    for (long i = 0; i < n; ++i)
      std::fprintf(f, "v %.6f %.6f %.6f\n", i * 0.01, j * 0.01,
                   0.2 * std::sin(i * 0.05) * std::cos(j * 0.03));
  for (long j = 0; j < n; ++j)
    for (long i = 0; i < n; ++i)
      std::fprintf(f, "vt %.6f %.6f\n", double(i) / side, double(j) / side);
  const long rowsPerGroup = (side + groups - 1) / groups;
  for (long j = 0; j < side; ++j) {
    if (j % rowsPerGroup == 0) std::fprintf(f, "g rows%ld\n", j / rowsPerGroup);
    for (long i = 0; i < side; ++i) {
      long a = j * n + i + 1, b = a + 1, c = a + n + 1, d = a + n;
      std::fprintf(f, "f %ld/%ld %ld/%ld %ld/%ld %ld/%ld\n", a, a, b, b, c, c, d, d);
    }
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
