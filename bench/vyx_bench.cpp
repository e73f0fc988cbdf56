// VyX conversion benchmarks.
//   vyx_bench mesh DIR N      writes DIR/mesh_N.vyx (an N by N grid of quads:
//                             vertices, colours, faces, UVs over two tiles in
//                             u, groups), DIR/faces_N.vyx (the face-first file
//                             of N*N/4 quads, so faceID groups 4 faces) and
//                             DIR/mesh_N.ply (binary PLY, same vertices and
//                             faces), streamed
//   vyx_bench tiles LIB MESH OUT ROUNDS
//                             best-of-ROUNDS ms of GetUVsFromVyX(MESH, OUT),
//                             then of writing the same files' bytes with one
//                             write per file, then GetUVTile, GetFaceIDsVyx
//                             and GetUVGroup on MESH
//   vyx_bench rss CMD...      runs CMD and prints its peak resident memory (KB)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "EditionLoader.h"
#include "EditionSymbols.h"
#include "VyXWriter.h"

namespace {

struct Writer {
  std::FILE* f;
  vyxgen::Bytes buf;
  void flush() {
    std::fwrite(buf.data(), 1, buf.size(), f);
    buf.clear();
  }
  void maybeFlush() {
    if (buf.size() > (1u << 20)) flush();
  }
};

void header(Writer& w, uint32_t tag, uint64_t count, uint64_t record) {
  vyxgen::putU32(w.buf, tag);
  vyxgen::putU32(w.buf, uint32_t(16 + count * record));
  vyxgen::putU32(w.buf, uint32_t(count));
  vyxgen::putU32(w.buf, 0);
}

int writeMesh(const std::string& dir, uint32_t n) {
  const uint32_t nv1 = n + 1;
  const uint64_t nv = uint64_t(nv1) * nv1, nf = uint64_t(n) * n;
  std::string tag = std::to_string(n);
  auto vertex = [&](uint32_t i, uint32_t j, float out[3]) {
    out[0] = float(i) / float(n);
    out[1] = float(j) / float(n);
    out[2] = 0.125f * float((i * 7 + j * 3) % 11) / 10.0f;
  };
  auto faceOf = [&](uint32_t i, uint32_t j, uint32_t out[4]) {
    uint32_t a = j * nv1 + i;
    out[0] = a;
    out[1] = a + 1;
    out[2] = a + nv1 + 1;
    out[3] = a + nv1;
  };
  // VyX mesh.
  Writer w{std::fopen((dir + "/mesh_" + tag + ".vyx").c_str(), "wb"), {}};
  if (!w.f) return 1;
  w.buf.assign(32, 0);
  header(w, 10001, nv, 12);
  float p[3];
  for (uint32_t j = 0; j < nv1; ++j)
    for (uint32_t i = 0; i < nv1; ++i, w.maybeFlush()) {
      vertex(i, j, p);
      for (float c : p) vyxgen::putF32(w.buf, c);
    }
  header(w, 35001, nv, 4);
  for (uint64_t k = 0; k < nv; ++k, w.maybeFlush()) {
    uint8_t c[4] = {uint8_t(k), uint8_t(k >> 8), uint8_t(k >> 16), 255};
    w.buf.insert(w.buf.end(), c, c + 4);
  }
  header(w, 20001, nf, 16);
  uint32_t f[4];
  for (uint32_t j = 0; j < n; ++j)
    for (uint32_t i = 0; i < n; ++i, w.maybeFlush()) {
      faceOf(i, j, f);
      for (uint32_t x : f) vyxgen::putU32(w.buf, x);
    }
  header(w, 25001, nf, 32);
  for (uint32_t j = 0; j < n; ++j)
    for (uint32_t i = 0; i < n; ++i, w.maybeFlush()) {
      float u0 = 2.0f * float(i) / float(n), u1 = 2.0f * float(i + 1) / float(n);
      float v0 = float(j) / float(n), v1 = float(j + 1) / float(n);
      for (float c : {u0, v0, u1, v0, u1, v1, u0, v1}) vyxgen::putF32(w.buf, c);
    }
  header(w, 40001, nf, 2);
  for (uint64_t k = 0; k < nf; ++k, w.maybeFlush()) vyxgen::putU16(w.buf, uint16_t(k % 7));
  w.flush();
  std::fclose(w.f);

  // Face-first file: one quad per four faces of the mesh.
  Writer ff{std::fopen((dir + "/faces_" + tag + ".vyx").c_str(), "wb"), {}};
  if (!ff.f) return 1;
  ff.buf.assign(32, 0);
  header(ff, 20001, nf / 4, 16);
  for (uint64_t k = 0; k < nf / 4; ++k, ff.maybeFlush())
    for (uint32_t x : {0u, 1u, 2u, 3u}) vyxgen::putU32(ff.buf, x);
  ff.flush();
  std::fclose(ff.f);

  // Binary little-endian PLY of the same vertices and faces.
  Writer pw{std::fopen((dir + "/mesh_" + tag + ".ply").c_str(), "wb"), {}};
  if (!pw.f) return 1;
  std::string head = "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(nv) +
                     "\nproperty float x\nproperty float y\nproperty float z\nelement face " +
                     std::to_string(nf) + "\nproperty list uchar int vertex_indices\nend_header\n";
  pw.buf.assign(head.begin(), head.end());
  for (uint32_t j = 0; j < nv1; ++j)
    for (uint32_t i = 0; i < nv1; ++i, pw.maybeFlush()) {
      vertex(i, j, p);
      for (float c : p) vyxgen::putF32(pw.buf, c);
    }
  for (uint32_t j = 0; j < n; ++j)
    for (uint32_t i = 0; i < n; ++i, pw.maybeFlush()) {
      faceOf(i, j, f);
      pw.buf.push_back(4);
      for (uint32_t x : f) vyxgen::putU32(pw.buf, x);
    }
  pw.flush();
  return std::fclose(pw.f) == 0 ? 0 : 1;
}

double nowMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

template <class F>
double best(int rounds, F&& f) {
  double b = 1e300;
  for (int r = 0; r < rounds; ++r) {
    double t0 = nowMs();
    f();
    double t = nowMs() - t0;
    if (t < b) b = t;
  }
  return b;
}

vyxgen::Bytes slurp(const std::string& path) {
  vyxgen::Bytes b;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return b;
  std::fseek(f, 0, SEEK_END);
  b.resize(size_t(std::ftell(f)));
  std::fseek(f, 0, SEEK_SET);
  if (std::fread(b.data(), 1, b.size(), f) != b.size()) b.clear();
  std::fclose(f);
  return b;
}

int tiles(const char* lib, const char* mesh, const char* out, int rounds) {
  void* h = loader::open(lib);
  if (!h) return 1;
  using PathText = float (*)(const char*, char*);
  auto split = loader::function<PathText>(h, decorated::GetUVsFromVyX);
  auto uvTile = loader::function<PathText>(h, decorated::GetUVTile);
  auto faceIDs = loader::function<float (*)(const char*, double)>(h, decorated::GetFaceIDsVyx);
  auto groups = loader::function<float (*)(const char*)>(h, decorated::GetUVGroup);
  if (!split || !uvTile || !faceIDs || !groups) return 1;
  std::string outPath = out;
  float files = 0;
  double ours = best(rounds, [&] { files = split(mesh, &outPath[0]); });
  std::string base = outPath.substr(0, outPath.rfind('.'));
  std::vector<vyxgen::Bytes> contents;
  size_t bytes = 0;
  for (int k = 0; k < int(files); ++k) {
    contents.push_back(slurp(base + std::to_string(k) + ".VyX"));
    bytes += contents.back().size();
  }
  double plain = best(rounds, [&] {
    for (size_t k = 0; k < contents.size(); ++k) {
      std::FILE* f = std::fopen((base + "_plain" + std::to_string(k) + ".VyX").c_str(), "wb");
      std::setvbuf(f, nullptr, _IONBF, 0);
      std::fwrite(contents[k].data(), 1, contents[k].size(), f);
      std::fclose(f);
    }
  });
  char name[64];
  float count = 0, ids = 0, g = 0;
  double tileMs = best(rounds, [&] { count = uvTile(mesh, name); });
  double idsMs = best(rounds, [&] { ids = faceIDs(mesh, 1); });
  double groupMs = best(rounds, [&] { g = groups(mesh); });
  std::printf("%g %zu %.0f %.0f %g %.0f %g %.0f %g %.0f\n", double(files), bytes, ours, plain,
              double(count), tileMs, double(ids), idsMs, double(g), groupMs);
  return 0;
}

int rss(char** argv) {
  pid_t pid = fork();
  if (pid == 0) {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
    execvp(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  rusage use{};
  getrusage(RUSAGE_CHILDREN, &use);
  std::printf("%ld\n", use.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "mesh") == 0) return writeMesh(argv[2], uint32_t(std::atol(argv[3])));
  if (argc == 6 && std::strcmp(argv[1], "tiles") == 0) return tiles(argv[2], argv[3], argv[4], std::atoi(argv[5]));
  if (argc >= 3 && std::strcmp(argv[1], "rss") == 0) return rss(argv + 2);
  std::fprintf(stderr, "usage: see the comment at the top of bench/vyx_bench.cpp\n");
  return 2;
}
