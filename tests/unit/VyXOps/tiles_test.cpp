#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <limits>
#include <random>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "VyXOps.h"
#include "VyXWriter.h"

namespace {

using testsupport::fileExists;
using testsupport::readBytes;
using vyxgen::Block;
using vyxgen::Bytes;

TEST(TileRules, IndexOfACoordinate) {
  EXPECT_EQ(vyx::tileIndexOf(0.3f), 0);
  EXPECT_EQ(vyx::tileIndexOf(0.999f), 0);
  EXPECT_EQ(vyx::tileIndexOf(1.0f), 1);
  EXPECT_EQ(vyx::tileIndexOf(1.5f), 1);
  EXPECT_EQ(vyx::tileIndexOf(-0.25f), -1);
  EXPECT_EQ(vyx::tileIndexOf(-0.999f), -1);
  EXPECT_EQ(vyx::tileIndexOf(-1.0f), -2);
  EXPECT_EQ(vyx::tileIndexOf(-0.0f), 0);
  EXPECT_EQ(vyx::tileIndexOf(-1e-9f), -1);  // -1e-9 - 1 rounds to -1 in float
  EXPECT_EQ(vyx::tileIndexOf(1e9f), 1000000000);
  EXPECT_EQ(vyx::tileIndexOf(3e9f), INT32_MIN);
  EXPECT_EQ(vyx::tileIndexOf(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(vyx::tileIndexOf(-std::numeric_limits<float>::infinity()), INT32_MIN);
}

// The split's inline modf against the C library's, over many values of
// every magnitude and the special ones.
TEST(TileRules, LocalCoordinateFollowsModff) {
  std::mt19937 random(7);
  std::vector<float> values = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, -0.5f, 8388607.5f, 8388608.0f,
                               -8388607.5f, -8388609.0f, 1e30f, -1e30f,
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::denorm_min(),
                               -std::numeric_limits<float>::denorm_min()};
  for (int i = 0; i < 2000000; ++i) {
    uint32_t bits = random();
    float f;
    std::memcpy(&f, &bits, 4);
    values.push_back(f);
    values.push_back(std::uniform_real_distribution<float>(-20, 20)(random));
  }
  for (float c : values) {
    float a = c >= 0 ? c : c - 1.0f;
    float whole;
    float frac = std::modf(a, &whole);
    if (frac < 0) frac += 1.0f;
    int32_t expectedWhole = std::isnan(whole) || !(whole > -2147483649.0f && whole < 2147483648.0f)
                                ? INT32_MIN
                                : int32_t(whole);
    int32_t gotWhole;
    float got = vyx::tileLocal(c, gotWhole);
    ASSERT_EQ(gotWhole, expectedWhole) << c;
    ASSERT_EQ(vyx::tileIndexOf(c), expectedWhole) << c;
    uint32_t wantBits, gotBits;
    std::memcpy(&wantBits, &frac, 4);
    std::memcpy(&gotBits, &got, 4);
    if (std::isnan(frac)) {
      ASSERT_TRUE(std::isnan(got)) << c;
    } else {
      ASSERT_EQ(gotBits, wantBits) << c;  // the sign of zero included
    }
  }
}

class UVTiles : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("tiles");
  void SetUp() override { UVTileStr.clear(); }
  void TearDown() override { UVTileStr.clear(); }
  std::string file(const std::string& name, const Bytes& bytes) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(testsupport::writeBytes(path, bytes));
    return path;
  }
};

std::array<float, 8> face(float u, float v) { return {u, v, u + 0.1f, v, u + 0.1f, v + 0.1f, u, v + 0.1f}; }

using fennick::Status;

// The tile names of bytes in memory, and the last face's tile name.
std::vector<std::string> tileNamesOf(const Bytes& bytes, std::string* last = nullptr) {
  vyx::UVBlock block;
  EXPECT_EQ(vyx::uvBlock(bytes.data(), bytes.size(), block), Status::Ok);
  std::vector<std::string> names;
  for (const UV_tile& t : vyx::tileSet(block, last)) {
    EXPECT_EQ(t.tileName, vyx::tileName(t.tileU, t.tileV));
    names.push_back(t.tileName);
  }
  return names;
}

TEST(TilesInMemory, TileSetAndLastName) {
  std::string last;
  EXPECT_EQ(tileNamesOf(vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}}),
                                           vyxgen::uvBlock({face(0.5f, 0.5f), face(0.1f, 0.9f)})}),
                        &last),
            std::vector<std::string>{"_u0_v0"});
  EXPECT_EQ(last, "_u0_v0");
  // Only the first corner decides; the others may lie anywhere.
  EXPECT_EQ(tileNamesOf(vyxgen::fileBytes({vyxgen::uvBlock(
                            {{0.5f, 0.5f, 9, 9, 9, 9, 9, 9}, face(1.5f, 0.5f), face(-0.5f, 0.5f),
                             face(0.2f, 0.2f), face(-1.0f, 2.5f)})}),
                        &last),
            (std::vector<std::string>{"_u-1_v0", "_u-2_v2", "_u0_v0", "_u1_v0"}));
  EXPECT_EQ(last, "_u-2_v2");
  last = "untouched";
  EXPECT_TRUE(tileNamesOf(vyxgen::fileBytes({vyxgen::uvBlock({})}), &last).empty());
  EXPECT_EQ(last, "");
  // Name order is byte order.
  EXPECT_EQ(tileNamesOf(vyxgen::fileBytes({vyxgen::uvBlock(
                {face(10.5f, 0), face(1.5f, 0), face(0.5f, 1.5f), face(0.5f, 0.5f),
                 face(-0.5f, 0.5f), face(1.5f, 0)})})),
            (std::vector<std::string>{"_u-1_v0", "_u0_v0", "_u0_v1", "_u10_v0", "_u1_v0"}));
}

TEST(TilesInMemory, NoBlockAndRecordsPastTheEnd) {
  vyx::UVBlock block;
  Bytes v = vyxgen::fileBytes({vyxgen::vertexBlock({})});
  EXPECT_EQ(vyx::uvBlock(v.data(), v.size(), block), Status::NoBlock);
  Block uv = vyxgen::uvBlock({face(0, 0)});
  uv.count = 2;
  Bytes past = vyxgen::fileBytes({uv});
  EXPECT_EQ(vyx::uvBlock(past.data(), past.size(), block), Status::PastEnd);
  uv.count = 0x08000001u;
  past = vyxgen::fileBytes({uv});
  EXPECT_EQ(vyx::uvBlock(past.data(), past.size(), block), Status::PastEnd);
}

TEST_F(UVTiles, CountAndLastName) {
  char name[64];
  std::string one = file("one.vyx", vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}}),
                                                       vyxgen::uvBlock({face(0.5f, 0.5f), face(0.1f, 0.9f)})}));
  EXPECT_EQ(GetUVTile(one.c_str(), name), 1.0f);
  EXPECT_STREQ(name, "_u0_v0");
  std::string empty = file("empty.vyx", vyxgen::fileBytes({vyxgen::uvBlock({})}));
  std::strcpy(name, "untouched");
  EXPECT_EQ(GetUVTile(empty.c_str(), name), 0.0f);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(GetUVTile(one.c_str(), nullptr), 1.0f);
  EXPECT_TRUE(UVTileStr.empty());
}

TEST_F(UVTiles, CountFailuresLeaveTheBufferAlone) {
  char name[16] = "untouched";
  EXPECT_EQ(GetUVTile(nullptr, name), -17.0f);
  EXPECT_EQ(GetUVTile((dir + "/none.vyx").c_str(), name), -17.0f);
  EXPECT_EQ(GetUVTile(file("v.vyx", vyxgen::fileBytes({vyxgen::vertexBlock({})})).c_str(), name), -18.0f);
  Block uv = vyxgen::uvBlock({face(0, 0)});
  uv.count = 2;
  EXPECT_EQ(GetUVTile(file("long.vyx", vyxgen::fileBytes({uv})).c_str(), name), -19.0f);
  EXPECT_STREQ(name, "untouched");
}

// The tile file as its layout says: the prefix, each pair moved or marked,
// 16 zero bytes.
Bytes tileFile(const Bytes& input, size_t prefix, const std::vector<std::array<float, 2>>& pairs) {
  Bytes out(input.begin(), input.begin() + long(prefix));
  for (const auto& p : pairs) {
    vyxgen::putF32(out, p[0]);
    vyxgen::putF32(out, p[1]);
  }
  out.insert(out.end(), 16, 0);
  return out;
}

TEST_F(UVTiles, SplitWritesOneFilePerTileInNameOrder) {
  Block v = vyxgen::vertexBlock({{1, 2, 3}, {4, 5, 6}});
  Block uv = vyxgen::uvBlock({{0.5f, 0.5f, 1.25f, 0.75f, -0.25f, 0.5f, -1.0f, 0.0f},
                              {1.5f, 0.5f, 1.25f, 0.75f, 0.5f, 0.5f, 2.0f, 1.0f},
                              {-0.5f, 0.5f, -0.25f, 0.5f, 0.5f, 0.5f, 1.0f, 0.0f}});
  Block after = vyxgen::groupBlock({1, 2, 3});  // not copied
  Bytes input = vyxgen::fileBytes({v, uv, after}, 0x5A);
  std::string path = file("mesh.vyx", input);
  std::string out = dir + "/out/mesh.obj";
  ASSERT_EQ(mkdir((dir + "/out").c_str(), 0755), 0);
  ASSERT_EQ(GetUVsFromVyX(path.c_str(), &out[0]), 3.0f);
  EXPECT_EQ(UVTileStr, (std::vector<std::string>{"_u-1_v0", "_u0_v0", "_u1_v0"}));
  const size_t prefix = 32 + 16 + 24 + 16;
  const float m = -1.0f;
  EXPECT_EQ(readBytes(dir + "/out/mesh0.VyX"),  // tile (-1, 0)
            tileFile(input, prefix, {{m, m}, {m, m}, {0.75f, 0.5f}, {m, m},
                                     {m, m}, {m, m}, {m, m}, {m, m},
                                     {0.5f, 0.5f}, {0.75f, 0.5f}, {m, m}, {m, m}}));
  EXPECT_EQ(readBytes(dir + "/out/mesh1.VyX"),  // tile (0, 0)
            tileFile(input, prefix, {{0.5f, 0.5f}, {m, m}, {m, m}, {m, m},
                                     {m, m}, {m, m}, {0.5f, 0.5f}, {m, m},
                                     {m, m}, {m, m}, {0.5f, 0.5f}, {m, m}}));
  EXPECT_EQ(readBytes(dir + "/out/mesh2.VyX"),  // tile (1, 0)
            tileFile(input, prefix, {{m, m}, {0.25f, 0.75f}, {m, m}, {m, m},
                                     {0.5f, 0.5f}, {0.25f, 0.75f}, {m, m}, {m, m},
                                     {m, m}, {m, m}, {m, m}, {0.0f, 0.0f}}));
  EXPECT_FALSE(fileExists(dir + "/out/mesh3.VyX"));
  char name[32] = "untouched";
  getUVTileString(1, name);
  EXPECT_STREQ(name, "_u0_v0");
  getUVTileString(3, name);
  EXPECT_STREQ(name, "_u0_v0");
  getUVTileString(-1, name);
  EXPECT_STREQ(name, "_u0_v0");
  getUVTileString(0, nullptr);
  clearUVTileString();
  EXPECT_TRUE(UVTileStr.empty());
  getUVTileString(0, name);
  EXPECT_STREQ(name, "_u0_v0");
}

// The tile files go into the folder the output names, whatever dots its
// folders' names hold; a user's files beside that folder stay.
TEST_F(UVTiles, SplitStaysInTheNamedFolder) {
  Block uv = vyxgen::uvBlock({face(0.5f, 0.5f), face(1.5f, 0.5f)});
  std::string path = file("mesh.vyx", vyxgen::fileBytes({uv}));
  ASSERT_EQ(mkdir((dir + "/proj.v2").c_str(), 0755), 0);
  ASSERT_TRUE(testsupport::writeText(dir + "/proj0.VyX", "a user's file"));
  std::string out = dir + "/proj.v2/split";
  ASSERT_EQ(GetUVsFromVyX(path.c_str(), &out[0]), 2.0f);
  EXPECT_TRUE(fileExists(dir + "/proj.v2/split0.VyX"));
  EXPECT_TRUE(fileExists(dir + "/proj.v2/split1.VyX"));
  EXPECT_EQ(testsupport::readText(dir + "/proj0.VyX"), "a user's file");
  EXPECT_EQ(testsupport::namesIn(dir),
            (std::vector<std::string>{"mesh.vyx", "proj.v2", "proj0.VyX"}));
}

TEST(TilesInMemory, NegativeWholeCoordinatesBecomeNegativeZero) {
  Block uv = vyxgen::uvBlock({{-1.0f, -3.0f, -1.5f, -3.25f, 0, 0, 0, 0}});
  Bytes input = vyxgen::fileBytes({uv});
  vyx::UVBlock block;
  ASSERT_EQ(vyx::uvBlock(input.data(), input.size(), block), Status::Ok);
  const std::vector<UV_tile> tiles = vyx::tileSet(block);
  ASSERT_EQ(tiles.size(), 1u);
  EXPECT_EQ(tiles[0].tileName, "_u-2_v-4");
  Bytes got;
  textops::OutFile out;
  ASSERT_EQ(textops::openOutMemory(out, got), Status::Ok);
  vyx::putTile(block, tiles[0], out);
  ASSERT_TRUE(textops::closeOut(out));
  EXPECT_EQ(got, tileFile(input, 48, {{-0.0f, -0.0f}, {0.5f, 0.75f}, {-1, -1}, {-1, -1}}));
  ASSERT_GE(got.size(), 56u);
  EXPECT_EQ(got[51], 0x80);  // the sign bit of -0 is there
}

TEST_F(UVTiles, SplitFailures) {
  std::string out = dir + "/o.obj";
  UVTileStr = {"old"};
  EXPECT_EQ(GetUVsFromVyX(nullptr, &out[0]), -1760.0f);
  EXPECT_TRUE(UVTileStr.empty());
  UVTileStr = {"old"};
  EXPECT_EQ(GetUVsFromVyX(file("v.vyx", vyxgen::fileBytes({vyxgen::vertexBlock({})})).c_str(), &out[0]),
            -18.0f);
  EXPECT_TRUE(UVTileStr.empty());
  Block uv = vyxgen::uvBlock({face(0, 0)});
  uv.count = 0x08000001u;
  EXPECT_EQ(GetUVsFromVyX(file("long.vyx", vyxgen::fileBytes({uv})).c_str(), &out[0]), -19.0f);
  EXPECT_FALSE(fileExists(dir + "/o0.VyX"));
  std::string empty = file("empty.vyx", vyxgen::fileBytes({vyxgen::uvBlock({})}));
  EXPECT_EQ(GetUVsFromVyX(empty.c_str(), &out[0]), 0.0f);
  EXPECT_FALSE(fileExists(dir + "/o0.VyX"));

  // Output file 2 cannot be created: a folder stands in its place.
  std::string three = file("three.vyx", vyxgen::fileBytes({vyxgen::uvBlock(
                                            {face(0.5f, 0.5f), face(1.5f, 0.5f), face(-0.5f, 0.5f)})}));
  ASSERT_EQ(mkdir((dir + "/o2.VyX").c_str(), 0755), 0);
  EXPECT_EQ(GetUVsFromVyX(three.c_str(), &out[0]), 1503.0f);
  EXPECT_EQ(UVTileStr, (std::vector<std::string>{"_u-1_v0", "_u0_v0"}));
  EXPECT_TRUE(fileExists(dir + "/o0.VyX"));
  EXPECT_TRUE(fileExists(dir + "/o1.VyX"));
  EXPECT_EQ(GetUVsFromVyX(three.c_str(), nullptr), 1501.0f);
  EXPECT_TRUE(UVTileStr.empty());
}

// One file per tile, each about as large as the input: a small file must not
// make an unbounded output. A split of more than 10,000 tiles is refused
// before any file is written; counting them is still fine. (These files
// would take 3.2 GB: on a disk with less room the free-space check refuses
// the split too.)
TEST_F(UVTiles, MoreThanTenThousandTilesAreRefused) {
  std::vector<std::array<float, 8>> faces;
  for (int k = 0; k <= 10000; ++k) faces.push_back(face(float(k) + 0.5f, 0.5f));
  std::string path = file("many.vyx", vyxgen::fileBytes({vyxgen::uvBlock(faces)}));
  char name[32];
  EXPECT_EQ(GetUVTile(path.c_str(), name), 10001.0f);
  std::string out = dir + "/many.obj";
  UVTileStr = {"old"};
  EXPECT_EQ(GetUVsFromVyX(path.c_str(), &out[0]), -22.0f);
  EXPECT_TRUE(UVTileStr.empty());
  EXPECT_FALSE(fileExists(dir + "/many0.VyX"));
  EXPECT_FALSE(fileExists(dir + "/many10000.VyX"));
}

TEST_F(UVTiles, FilesAreNumberedInNameOrder) {
  std::string path = file("order.vyx", vyxgen::fileBytes({vyxgen::uvBlock(
                                           {face(10.5f, 0), face(1.5f, 0), face(0.5f, 1.5f),
                                            face(0.5f, 0.5f), face(-0.5f, 0.5f), face(1.5f, 0)})}));
  std::string out = dir + "/s.x.y";
  ASSERT_EQ(GetUVsFromVyX(path.c_str(), &out[0]), 5.0f);
  EXPECT_EQ(UVTileStr,
            (std::vector<std::string>{"_u-1_v0", "_u0_v0", "_u0_v1", "_u10_v0", "_u1_v0"}));
  EXPECT_TRUE(fileExists(dir + "/s.x4.VyX"));
}

}  // namespace
