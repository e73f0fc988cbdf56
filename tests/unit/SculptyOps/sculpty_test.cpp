#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "FennickDLL.h"
#include "SculptyOps.h"
#include "SculptyReader.h"
#include "TestSupport.h"
#include "TextOps.h"

namespace {

using Bytes = std::vector<uint8_t>;
using fennick::Status;
using testsupport::fileExists;
using testsupport::makeTempDir;
using testsupport::readBytes;
using testsupport::writeText;

// The conversion written plainly with the standard streams and containers,
// for meshes whose faces are quads with indices in range: the reference the
// fast converter must match byte for byte.
Bytes referenceBitmap(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::pair<float, float>> uvs;
  std::vector<std::array<int, 8>> faces;
  std::set<float> us, vs;
  float largest = 0, smallest = 0;
  while (std::getline(in, line)) {
    if (line.size() >= 2 && line[0] == 'v' && line[1] == ' ') {
      std::istringstream s(line.substr(2));
      float x = 0, y = 0, z = 0;
      s >> x >> y >> z;
      for (float c : {x, y, z}) {
        largest = std::max(largest, c);
        smallest = std::min(smallest, c);
      }
      vertices.push_back({x, y, z});
    } else if (line.size() >= 2 && line[0] == 'v' && line[1] == 't') {
      std::istringstream s(line.substr(2));
      float u = 0, v = 0;
      s >> u >> v;
      uvs.push_back({u, v});
      us.insert(u);
      vs.insert(v);
    } else if (line.size() >= 2 && line[0] == 'f' && line[1] == ' ') {
      std::istringstream s(line.substr(2));
      std::string token;
      std::array<int, 8> face{};
      int c = 0;
      while (s >> token) {
        std::vector<int> pieces;
        std::string piece;
        std::istringstream t(token);
        while (std::getline(t, piece, '/'))
          if (!piece.empty()) pieces.push_back(std::stoi(piece) - 1);
        face[c] = pieces.at(0);
        face[4 + c] = pieces.at(1);
        ++c;
      }
      EXPECT_EQ(c, 4);
      faces.push_back(face);
    }
  }
  int width = 2 * int(us.size()) - 2, height = 2 * int(vs.size()) - 2;
  std::map<float, int> rankU, rankV;
  for (float u : us) rankU.emplace(u, int(rankU.size()));
  for (float v : vs) rankV.emplace(v, int(rankV.size()));
  float a = std::max(largest, -smallest);
  float s = 127.5f / a;
  std::vector<std::array<int, 3>> planes(size_t(width) * height, {0, 0, 0});
  for (const auto& f : faces) {
    int col[4], row[4];
    for (int c = 0; c < 4; ++c) {
      col[c] = 2 * rankU[uvs.at(f[4 + c]).first];
      row[c] = 2 * rankV[uvs.at(f[4 + c]).second];
    }
    (row[0] >= row[1] ? row[0] : row[1])--;
    (row[3] >= row[2] ? row[3] : row[2])--;
    (col[0] >= col[3] ? col[0] : col[3])--;
    (col[1] >= col[2] ? col[1] : col[2])--;
    for (int c = 0; c < 4; ++c) {
      const auto& p = vertices.at(f[c]);
      for (int k = 0; k < 3; ++k)
        planes.at(size_t(row[c]) * width + col[c])[k] = int(127.5 + double(s * p[k]));
    }
  }
  std::ostringstream out;
  auto u32 = [&](uint32_t x) { for (int i = 0; i < 4; ++i) out.put(char(x >> (8 * i))); };
  int pad = (4 - (3 * width) % 4) % 4;
  uint32_t image = uint32_t((3 * width + pad) * height);
  out << "BM";
  u32(54 + image); u32(0); u32(54); u32(40); u32(width); u32(height);
  out.put(1); out.put(0); out.put(24); out.put(0);
  u32(0); u32(image); u32(0); u32(0); u32(0); u32(0);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c)
      for (int k = 2; k >= 0; --k) out.put(char(planes[size_t(r) * width + c][k]));
    for (int i = 0; i < pad; ++i) out.put(0);
  }
  std::string bytes = out.str();
  return Bytes(bytes.begin(), bytes.end());
}

// An n x m quad grid with random heights, its vertex, texture and face lines
// each in random order, each face in one of the corner orders that the
// painting places onto its own cell, with other lines mixed in. Plain grids
// are written as mesh writers write them: six decimals, corners "v/t" one
// space apart, vertex and texture lines in the same order. Layouts: 0 the
// vertex lines, texture lines, faces; 1 the faces first; 2 half the faces
// between the vertex and the texture lines; 3 the three kinds in turn.
std::string randomGrid(int n, int m, std::mt19937& rng, bool crlf, bool plain = false,
                       int layout = 0) {
  const int count = (n + 1) * (m + 1);
  std::vector<int> vPerm(count), tPerm(count);
  for (int i = 0; i < count; ++i) vPerm[i] = tPerm[i] = i;
  std::shuffle(vPerm.begin(), vPerm.end(), rng);
  if (plain) tPerm = vPerm;
  else std::shuffle(tPerm.begin(), tPerm.end(), rng);
  std::uniform_real_distribution<float> height(-3.0f, 2.0f);
  std::vector<std::string> vLines(count), tLines(count);
  char buf[128];
  for (int j = 0; j <= m; ++j)
    for (int i = 0; i <= n; ++i) {
      int k = j * (n + 1) + i;
      std::snprintf(buf, sizeof buf, plain ? "v %.6f %.6f %.6f" : "v %.9g %.9g %.9g",
                    double(float(i) * 0.37f), double(float(j) * -0.21f), double(height(rng)));
      vLines[vPerm[k]] = buf;
      std::snprintf(buf, sizeof buf, plain ? "vt %.6f %.6f" : "vt %.9g %.9g",
                    double(float(i) / n), double(float(j) / m));
      tLines[tPerm[k]] = buf;
    }
  std::vector<std::string> fLines;
  std::uniform_int_distribution<int> pick(0, 3);
  for (int j = 0; j < m; ++j)
    for (int i = 0; i < n; ++i) {
      int ll = j * (n + 1) + i, lr = ll + 1, ul = ll + n + 1, ur = ul + 1;
      // The four starts that keep corners 0 and 1 on one column, and one
      // crossed order that the pull-in still places inside its cell.
      static const int orders[5][4] = {
          {0, 1, 2, 3}, {2, 3, 0, 1}, {3, 2, 1, 0}, {1, 0, 3, 2}, {0, 1, 3, 2}};
      int cycle[4] = {ll, ul, ur, lr};
      const int* o = orders[std::uniform_int_distribution<int>(0, 4)(rng)];
      std::string f = "f";
      for (int c = 0; c < 4; ++c) {
        int k = cycle[o[c]];
        std::snprintf(buf, sizeof buf, plain ? " %d/%d" : pick(rng) == 0 ? " %d/%d/1" : "  %d/%d",
                      vPerm[k] + 1, tPerm[k] + 1);
        f += buf;
      }
      fLines.push_back(f);
    }
  std::shuffle(fLines.begin(), fLines.end(), rng);
  const char* eol = crlf ? "\r\n" : "\n";
  std::string text = "# grid\nmtllib m.mtl\no grid\n";
  auto add = [&](const std::vector<std::string>& lines, size_t from, size_t to) {
    for (size_t i = from; i < to && i < lines.size(); ++i) text += lines[i] + eol;
  };
  const size_t half = fLines.size() / 2;
  switch (layout) {
    case 1:
      add(fLines, 0, fLines.size());
      add(vLines, 0, vLines.size());
      add(tLines, 0, tLines.size());
      break;
    case 2:
      add(vLines, 0, vLines.size());
      add(fLines, 0, half);
      add(tLines, 0, tLines.size());
      add(fLines, half, fLines.size());
      break;
    case 3:
      for (size_t i = 0; i < size_t(count); ++i) {
        add(vLines, i, i + 1);
        add(tLines, i, i + 1);
        add(fLines, i, i + 1);
      }
      break;
    default:
      add(vLines, 0, vLines.size());
      text += std::string("vn 0 0 1") + eol + "g part" + eol + "s 1" + eol + eol;
      add(tLines, 0, tLines.size());
      text += std::string("usemtl skin") + eol;
      add(fLines, 0, fLines.size());
  }
  return text;
}

class Sculpty : public ::testing::Test {
 protected:
  std::string dir = makeTempDir("sculpty");
  std::string bmp = dir + "/map.bmp";
  Bytes written;  // what the last convert wrote
  // Converts the text in memory.
  Status convert(const std::string& text) {
    std::string bytes;
    textops::OutFile out;
    EXPECT_EQ(textops::openOutMemory(out, bytes), Status::Ok);
    const Status status = sculpty::writeSculptMap(
        reinterpret_cast<const unsigned char*>(text.data()), text.size(), out);
    EXPECT_TRUE(textops::closeOut(out));
    written.assign(bytes.begin(), bytes.end());
    return status;
  }
  // Fails (and checks that nothing was written) with the given status.
  void expectRefused(const std::string& text, Status code) {
    EXPECT_EQ(convert(text), code);
    EXPECT_TRUE(written.empty());
  }
};

// 3 x 1 quads: a 6 x 2 image, 18 pixel bytes and 2 padding bytes a row.
const char* kThreeQuads =
    "v -1 0 1\nv 0.5 -1 0\nv 1 0.5 -0.5\nv 0 0 0\n"
    "v -0.5 1 0.5\nv 0 -0.5 -1\nv 1 1 1\nv -1 -1 -1\n"
    "vt 0 0\nvt 0.25 0\nvt 0.5 0\nvt 1 0\nvt 0 1\nvt 0.25 1\nvt 0.5 1\nvt 1 1\n"
    "f 1/1 5/5 6/6 2/2\nf 2/2 6/6 7/7 3/3\nf 3/3 7/7 8/8 4/4\n";

TEST_F(Sculpty, WritesTheExactBitmapBottomUpInBlueGreenRed) {
  ASSERT_EQ(convert(kThreeQuads), Status::Ok);
  const Bytes expected = {
      'B', 'M', 94, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40, 0, 0, 0, 6, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,
      0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      // row 0 (v = 0): vertices 1, 2, 2, 3, 3, 4, then padding
      0xFF, 0x7F, 0x00, 0x7F, 0x00, 0xBF, 0x7F, 0x00, 0xBF,
      0x3F, 0xBF, 0xFF, 0x3F, 0xBF, 0xFF, 0x7F, 0x7F, 0x7F, 0, 0,
      // row 1 (v = 1): vertices 5, 6, 6, 7, 7, 8
      0xBF, 0xFF, 0x3F, 0x00, 0x3F, 0x7F, 0x00, 0x3F, 0x7F,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0, 0};
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written, referenceBitmap(kThreeQuads));
  // The file path writes the same bytes.
  std::string obj = dir + "/m.obj";
  ASSERT_TRUE(writeText(obj, kThreeQuads));
  ASSERT_EQ(exportSculpty(obj.c_str(), bmp.c_str(), false), 0.0f);
  EXPECT_EQ(readBytes(bmp), expected);
}

TEST_F(Sculpty, MatchesThePlainConversionOnShuffledGrids) {
  std::mt19937 rng(5);
  const int sizes[][2] = {{1, 1}, {3, 2}, {2, 3}, {5, 7}, {8, 8}, {17, 4}, {32, 32}};
  int round = 0;
  for (const auto& size : sizes)
    for (bool plain : {false, true}) {
      std::string text = randomGrid(size[0], size[1], rng, ++round % 3 == 0, plain);
      ASSERT_EQ(convert(text), Status::Ok) << size[0] << "x" << size[1];
      Bytes got = written;
      ASSERT_EQ(got.size(), 54u + size_t(2 * size[1]) * ((6 * size[0] + 3) / 4 * 4));
      EXPECT_EQ(got, referenceBitmap(text)) << size[0] << "x" << size[1] << " plain " << plain;
    }
}

// Vertex and texture lines may come before, between or after the faces: the
// bitmap is the same.
TEST_F(Sculpty, VertexAndTextureLinesAfterFacesConvertAlike) {
  std::mt19937 rng(41);
  const int sizes[][2] = {{1, 1}, {3, 2}, {7, 5}, {16, 16}};
  for (int layout = 0; layout <= 3; ++layout)
    for (const auto& size : sizes) {
      std::string text = randomGrid(size[0], size[1], rng, layout == 2, layout % 2 == 1, layout);
      ASSERT_EQ(convert(text), Status::Ok) << size[0] << "x" << size[1] << " layout " << layout;
      const Bytes expected = referenceBitmap(text);
      EXPECT_EQ(written, expected) << size[0] << "x" << size[1] << " layout " << layout;
    }
}

TEST_F(Sculpty, FailuresOfFacesInFileOrder) {
  // 2 x 1 cells: vertices 1-6, texture coordinates 1-6 in two rows.
  const std::string v = "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 1\n";
  const std::string vt = "vt 0 0\nvt 0.5 0\nvt 1 0\nvt 0 1\nvt 0.5 1\nvt 1 1\n";
  const std::string good1 = "f 1/1 4/4 5/5 2/2\n", good2 = "f 2/2 5/5 6/6 3/3\n";
  const std::string badIndex = "f 2/2 5/5 6/6 7/3\n", badTexture = "f 2/2 5/5 6/7 3/3\n";
  const std::string triangle = "f 1/1 4/4 5/5\n", offCell = "f 1/1 2/2 5/5 4/4\n";
  struct Case {
    std::string text;
    Status code;
  } cases[] = {
      {v + vt + badIndex + triangle, Status::BadIndex},
      {v + vt + triangle + badIndex, Status::NotQuad},
      {v + vt + offCell + badIndex, Status::OffCell},
      {v + vt + good1 + badTexture, Status::BadIndex},
      // Lines after the faces: the same failures.
      {v + vt + badIndex + triangle + "vt 0 0\n", Status::BadIndex},
      {v + vt + triangle + badIndex + "v 0 0 0\n", Status::NotQuad},
      // A late line brings the vertex or texture coordinate a face names.
      {v + vt + good1 + badIndex + "v 3 3 3\n", Status::Ok},
      {v + vt + good1 + badTexture + "vt 1 1\n", Status::Ok},
      {v + good1 + vt + good2, Status::Ok},
      // A late texture value of its own makes another grid.
      {v + vt + good1 + good2 + "vt 0.75 0\n", Status::FaceCount},
      // A late vertex changes the scale of every colour.
      {v + vt + good1 + good2 + "v -4 0 0\n", Status::Ok},
      {v + vt + good1 + good2, Status::Ok},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(convert(c.text), c.code) << c.text;
    if (c.code == Status::Ok) {
      EXPECT_EQ(written, referenceBitmap(c.text)) << c.text;
    }
    EXPECT_EQ(!written.empty(), c.code == Status::Ok) << c.text;
  }
}


TEST_F(Sculpty, SizesAndPaddingOfTheEdgeCaseGrids) {
  std::mt19937 rng(9);
  ASSERT_EQ(convert(randomGrid(32, 32, rng, false)), Status::Ok);
  EXPECT_EQ(written.size(), 54u + 12288u);
  ASSERT_EQ(convert(randomGrid(3, 2, rng, false)), Status::Ok);
  Bytes b = written;
  ASSERT_EQ(b.size(), 54u + 4 * 20u);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(b[54 + 20 * r + 18], 0);
    EXPECT_EQ(b[54 + 20 * r + 19], 0);
  }
}

TEST_F(Sculpty, ALaterFaceOverwritesAndUnpaintedPixelsStayBlack) {
  // Two faces on the same cell (the face count still matches 2 x 1 cells):
  // the second one's colours win, the other cell stays black.
  const char* text =
      "v 1 1 1\nv 1 1 1\nv 1 1 1\nv 1 1 1\nv -1 0 0.5\n"
      "vt 0 0\nvt 0 1\nvt 0.5 1\nvt 0.5 0\nvt 1 0\nvt 1 1\n"
      "f 1/1 2/2 3/3 4/4\nf 5/1 5/2 5/3 5/4\n";
  ASSERT_EQ(convert(text), Status::Ok);
  Bytes b = written;
  ASSERT_EQ(b.size(), 54u + 2 * 12u);
  const Bytes mixed = {0xBF, 0x7F, 0x00};  // blue 191, green 127, red 0
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) {
      Bytes px(b.begin() + 54 + 12 * r + 3 * c, b.begin() + 54 + 12 * r + 3 * c + 3);
      EXPECT_EQ(px, c < 2 ? mixed : Bytes(3, 0)) << r << "," << c;
    }
}

TEST_F(Sculpty, EncodesWithOneScaleAboutTheOrigin) {
  // Largest |coordinate| 1: (1, 0, -1) -> 255 127 0, (0.5, -0.5, 0.25) ->
  // 191 63 159. All coordinates 0: 127 everywhere (no division by zero).
  auto firstPixel = [&](const std::string& v1, const std::string& rest) {
    std::string text = "v " + v1 + "\n" + rest +
                       "vt 0 0\nvt 0 1\nvt 1 1\nvt 1 0\nf 1/1 2/2 3/3 4/4\n";
    EXPECT_EQ(convert(text), Status::Ok);
    Bytes b = written;
    return b.size() >= 57 ? Bytes(b.begin() + 54, b.begin() + 57) : Bytes();
  };
  EXPECT_EQ(firstPixel("1 0 -1", "v 0 0 0\nv 0 0 0\nv 0 0 0\n"), (Bytes{0, 127, 255}));
  EXPECT_EQ(firstPixel("0.5 -0.5 0.25", "v 1 0 0\nv 0 0 0\nv 0 0 0\n"),
            (Bytes{159, 63, 191}));
  EXPECT_EQ(firstPixel("0 0 0", "v 0 0 0\nv 0 -0 0\nv 0 0 0\n"), (Bytes{127, 127, 127}));
  // Positive coordinates only: 0 still maps to 127.
  EXPECT_EQ(firstPixel("0 2 4", "v 4 4 4\nv 0 0 0\nv 0 0 0\n"), (Bytes{255, 191, 127}));
  // A tiny largest coordinate (scale beyond the float range) stays defined.
  EXPECT_EQ(firstPixel("1e-45 0 -1e-45", "v 0 0 0\nv 0 0 0\nv 0 0 0\n"),
            (Bytes{0, 127, 255}));
}

TEST_F(Sculpty, MissingNumbersReadAsZero) {
  // "v 1" is (1, 0, 0); "v 0.5 abc 7" stops at abc: (0.5, 0, 0); "vt 1" is
  // (1, 0).
  const char* text =
      "v 1\nv 0.5 abc 7\nv -1 1\nv\nv \n"
      "vt 0\nvt 0 1\nvt 1 1\nvt 1\nf 1/1 2/2 3/3 4/4\n";
  ASSERT_EQ(convert(text), Status::Ok);
  Bytes b = written;
  ASSERT_EQ(b.size(), 54u + 2 * 8u);
  EXPECT_EQ(Bytes(b.begin() + 54, b.begin() + 60), (Bytes{127, 127, 255, 127, 127, 127}));
  EXPECT_EQ(Bytes(b.begin() + 62, b.begin() + 68), (Bytes{127, 127, 191, 127, 255, 0}));
}

TEST_F(Sculpty, LineRulesOfTheReader) {
  std::string base = kThreeQuads;
  ASSERT_EQ(convert(base), Status::Ok);
  const Bytes expected = written;
  // Other lines, CRLF ends, corners with normals, a missing last line feed,
  // runs of spaces and a trailing blank before the carriage return.
  std::string noisy =
      "# comment\nvn 0 0 1\ng a\ns off\no x\nusemtl m\n\n"
      "v -1 0 1\r\nv 0.5 -1 0\r\nv 1 0.5 -0.5\r\nv 0 0 0\r\n"
      "v -0.5 1 0.5\r\nv 0 -0.5 -1\r\nv 1 1 1\r\nv -1 -1 -1\r\n"
      "vt 0 0 0\r\nvt 0.25 0\r\nvt 0.5 0\r\nvt 1 0\r\nvt 0 1\r\nvt 0.25 1\r\nvt 0.5 1\r\n"
      "vt 1 1\r\n"
      "f 1/1/1 5/5/1 6/6/1 2/2/1 \r\nf   2/2 6/6   7/7 3/3\r\nf 3/3x 7/\t7 8/8\t 4/4";
  ASSERT_EQ(convert(noisy), Status::Ok);
  EXPECT_EQ(written, expected);
  // Empty pieces are skipped: in 1//5 the 5 is the texture index.
  std::string skipped = base;
  skipped.replace(skipped.find("f 1/1 5/5"), 9, "f 1//1 5//5");
  ASSERT_EQ(convert(skipped), Status::Ok);
  EXPECT_EQ(written, expected);
}

TEST_F(Sculpty, EmptyImagesHaveAHeaderOnly) {
  // One u value and two v values, no faces: width 0, height 2 (found by
  // fuzzing: the empty rows were written from a null buffer).
  ASSERT_EQ(convert("v 0 0 0\r\nvt 0 0\r\nvt 0 1\r"), Status::Ok);
  Bytes b = written;
  ASSERT_EQ(b.size(), 54u);
  EXPECT_EQ(b[2], 54);
  EXPECT_EQ(b[18], 0);
  EXPECT_EQ(b[22], 2);
  EXPECT_EQ(b[34], 0);
  ASSERT_EQ(convert("vt 0.5 0.5\n"), Status::Ok);
  EXPECT_EQ(written.size(), 54u);
}

TEST_F(Sculpty, TextureValuesAreDistinctByExactValue) {
  std::string text = kThreeQuads;
  text.replace(text.find("vt 0.25 1"), 9, "vt 0.25001 1");
  expectRefused(text, Status::FaceCount);
  // -0 and 0 compare equal: one column.
  text = kThreeQuads;
  text.replace(text.find("vt 0 1"), 6, "vt -0 1");
  EXPECT_EQ(convert(text), Status::Ok);
}

TEST_F(Sculpty, RefusesWithoutWritingABitmap) {
  expectRefused("", Status::FaceCount);  // no texture values: 1 face expected
  // Through the file path: the export's number, and no file.
  std::string obj = dir + "/m.obj";
  ASSERT_TRUE(writeText(obj, ""));
  EXPECT_EQ(exportSculpty(obj.c_str(), bmp.c_str(), true), -64.0f);
  EXPECT_FALSE(fileExists(bmp));
  EXPECT_EQ(exportSculpty((dir + "/missing.obj").c_str(), bmp.c_str(), true),
            -1.0f);
  EXPECT_FALSE(fileExists(bmp));
  EXPECT_EQ(exportSculpty(nullptr, bmp.c_str(), true), -1.0f);
  // A triangulated grid has twice the faces.
  expectRefused(
      "v 0 0 0\nv 0 1 0\nv 1 1 0\nv 1 0 0\nvt 0 0\nvt 0 1\nvt 1 1\nvt 1 0\n"
      "f 1/1 2/2 3/3\nf 1/1 3/3 4/4\n",
      Status::FaceCount);
  // Faces that match the count but cannot be painted.
  const std::string cell = "v 0 0 0\nv 0 1 0\nv 1 1 0\nv 1 0 0\nvt 0 0\nvt 0 1\nvt 1 1\nvt 1 0\n";
  expectRefused(cell + "f 1/1 2/2 3/3\n", Status::NotQuad);
  expectRefused(cell + "f 1/1 2/2 3/3 4/4 1/1\n", Status::NotQuad);
  expectRefused(cell + "f 1/1 2/2 3/3 5/4\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 4/5\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 4/0\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 -1/-1\n", Status::BadIndex);
  expectRefused(cell + "f 1 2 3 4\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 4/x\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 4/-2147483648\n", Status::BadIndex);
  expectRefused(cell + "f 1/1 2/2 3/3 4/99999999999\n", Status::BadIndex);
  // Corners 0 and 1 on one row: the pull-in leaves the image.
  expectRefused(cell + "f 1/1 4/4 3/3 2/2\n", Status::OffCell);
  expectRefused(cell + "f 2/2 3/3 4/4 1/1\n", Status::OffCell);
  // Corners 0 and 1 at one texture coordinate: the pull-in takes a row out
  // of the image (below it, then above it) while every column stays inside.
  expectRefused(cell + "f 1/1 2/1 3/3 4/4\n", Status::OffCell);
  expectRefused(cell + "f 1/2 2/2 3/3 4/4\n", Status::OffCell);
  // The face-count check comes first.
  expectRefused(cell + "f 1/1 2/2 3/3\nf 1/1 2/2 3/3\n", Status::FaceCount);
}

TEST_F(Sculpty, WidthLimitIs2048Pixels) {
  auto strip = [](int quads) {
    std::string text;
    char buf[64];
    for (int i = 0; i <= quads; ++i) {
      std::snprintf(buf, sizeof buf, "v %d 0 0\nv %d 1 0\n", i, i);
      text += buf;
    }
    for (int i = 0; i <= quads; ++i) {
      std::snprintf(buf, sizeof buf, "vt %d 0\nvt %d 1\n", i, i);
      text += buf;
    }
    for (int i = 0; i < quads; ++i) {
      int a = 2 * i + 1;
      std::snprintf(buf, sizeof buf, "f %d/%d %d/%d %d/%d %d/%d\n", a, a, a + 1, a + 1, a + 3,
                    a + 3, a + 2, a + 2);
      text += buf;
    }
    return text;
  };
  ASSERT_EQ(convert(strip(1024)), Status::Ok);
  EXPECT_EQ(written.size(), 54u + 2 * 6144u);
  expectRefused(strip(1025), Status::TooLarge);
  // Width over the limit but the face count wrong: -64 first.
  std::string text = strip(1025);
  text += "f 1/1 2/2 4/4 3/3\n";
  expectRefused(text, Status::FaceCount);
}

TEST_F(Sculpty, HugeDistinctCountsDoNotOverflowTheChecks) {
  // 70000 distinct u and v values: (2U-2)(2V-2) overflows 32 bits.
  std::string text;
  char buf[64];
  for (int i = 0; i < 70000; ++i) {
    std::snprintf(buf, sizeof buf, "vt %d %d\n", i, i);
    text += buf;
  }
  expectRefused(text, Status::FaceCount);
}

TEST_F(Sculpty, OutputFailures) {
  std::string obj = dir + "/m.obj";
  ASSERT_TRUE(writeText(obj, kThreeQuads));
  std::string nowhere = dir + "/no/such/folder/map.bmp";
  EXPECT_EQ(exportSculpty(obj.c_str(), nowhere.c_str(), true), -4.0f);
  EXPECT_EQ(exportSculpty(obj.c_str(), nullptr, true), -4.0f);
  if (fileExists("/dev/full")) {
    EXPECT_EQ(exportSculpty(obj.c_str(), "/dev/full", true), -68.0f);
  }
}

TEST(SculptyPadding, RowPaddingRule) {
  const int expected[] = {0, 1, 2, 3, 0, 1, 2, 3, 0};
  for (int w = 0; w <= 8; ++w) EXPECT_EQ(getPadding(w), expected[w]) << w;
  EXPECT_EQ(getPadding(2048), 0);
  EXPECT_EQ(getPadding(2047), 3);
  EXPECT_EQ(getPadding(-1), 0);
  EXPECT_EQ(getPadding(-3), 0);
  EXPECT_EQ(getPadding(INT32_MAX), 0);
  EXPECT_EQ(getPadding(INT32_MIN), 0);
}

}  // namespace
