// Builds VyX files byte by byte, little-endian, field by field: for the
// sample generator, the tests, the benchmarks and the fuzz seeds.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace vyxgen {

using Bytes = std::vector<uint8_t>;

inline void putU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
inline void putU16(Bytes& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void putF32(Bytes& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  putU32(out, bits);
}

struct Block {
  uint32_t tag = 0;
  uint32_t count = 0;
  Bytes records;
  bool sizeSet = false;  // write `size` instead of 16 + records
  uint32_t size = 0;
  uint32_t word = 0;     // the fourth header word, never read by the library
};

inline Block vertexBlock(const std::vector<std::array<float, 3>>& vertices) {
  Block b;
  b.tag = 10001;
  b.count = uint32_t(vertices.size());
  for (const auto& v : vertices)
    for (float c : v) putF32(b.records, c);
  return b;
}

// Faces: four vertex indices; 0xFFFFFFFF as the fourth marks a triangle.
inline Block faceBlock(const std::vector<std::array<uint32_t, 4>>& faces) {
  Block b;
  b.tag = 20001;
  b.count = uint32_t(faces.size());
  for (const auto& f : faces)
    for (uint32_t i : f) putU32(b.records, i);
  return b;
}

// Face UVs: four corners, u then v.
inline Block uvBlock(const std::vector<std::array<float, 8>>& faces) {
  Block b;
  b.tag = 25001;
  b.count = uint32_t(faces.size());
  for (const auto& f : faces)
    for (float c : f) putF32(b.records, c);
  return b;
}

// Vertex colours as stored: blue, green, red, a fourth byte.
inline Block colourBlock(const std::vector<std::array<uint8_t, 4>>& colours) {
  Block b;
  b.tag = 35001;
  b.count = uint32_t(colours.size());
  for (const auto& c : colours) b.records.insert(b.records.end(), c.begin(), c.end());
  return b;
}

inline Block groupBlock(const std::vector<int16_t>& groups) {
  Block b;
  b.tag = 40001;
  b.count = uint32_t(groups.size());
  for (int16_t g : groups) putU16(b.records, uint16_t(g));
  return b;
}

inline Bytes fileBytes(const std::vector<Block>& blocks, uint8_t headerFill = 0) {
  Bytes out(32, headerFill);
  for (const auto& b : blocks) {
    putU32(out, b.tag);
    putU32(out, b.sizeSet ? b.size : uint32_t(16 + b.records.size()));
    putU32(out, b.count);
    putU32(out, b.word);
    out.insert(out.end(), b.records.begin(), b.records.end());
  }
  return out;
}

inline bool writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// A grid of nx by ny quads over the unit square in x and y, with z a gentle
// wave: positions, faces (counter-clockwise), per-face UVs spread over
// `tilesU` tiles in u, and colours from the position.
struct GridMesh {
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<uint32_t, 4>> faces;
  std::vector<std::array<float, 8>> uvs;
  std::vector<std::array<uint8_t, 4>> colours;
  std::vector<int16_t> groups;
};

inline GridMesh makeGrid(uint32_t nx, uint32_t ny, uint32_t tilesU = 1) {
  GridMesh m;
  for (uint32_t j = 0; j <= ny; ++j) {
    for (uint32_t i = 0; i <= nx; ++i) {
      float x = float(i) / float(nx), y = float(j) / float(ny);
      float z = 0.125f * float((i + j) % 4) / 3.0f;
      m.vertices.push_back({x, y, z});
      m.colours.push_back({uint8_t(255 * y), uint8_t(255 * x), uint8_t(255 - 255 * x), 255});
    }
  }
  for (uint32_t j = 0; j < ny; ++j) {
    for (uint32_t i = 0; i < nx; ++i) {
      uint32_t a = j * (nx + 1) + i;
      m.faces.push_back({a, a + 1, a + nx + 2, a + nx + 1});
      float u0 = float(i) * float(tilesU) / float(nx), u1 = float(i + 1) * float(tilesU) / float(nx);
      float v0 = float(j) / float(ny), v1 = float(j + 1) / float(ny);
      m.uvs.push_back({u0, v0, u1, v0, u1, v1, u0, v1});
      m.groups.push_back(int16_t(j * 2 / ny));
    }
  }
  return m;
}

// The layout the VyX to OBJ conversion expects: vertices, colours, faces,
// then UVs and groups.
inline Bytes gridFile(const GridMesh& m) {
  return fileBytes({vertexBlock(m.vertices), colourBlock(m.colours), faceBlock(m.faces),
                    uvBlock(m.uvs), groupBlock(m.groups)});
}

}  // namespace vyxgen
