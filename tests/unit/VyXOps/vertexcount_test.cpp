#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "VyXOps.h"
#include "VyXWriter.h"

namespace {

using testsupport::makeTempDir;
using testsupport::writeBytes;
using vyxgen::Block;

std::vector<std::array<float, 3>> someVertices(size_t n) {
  std::vector<std::array<float, 3>> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = {float(i), 1, 2};
  return v;
}

Block countOnly(uint32_t tag, uint32_t count, uint32_t size) {
  Block b;
  b.tag = tag;
  b.count = count;
  b.sizeSet = true;
  b.size = size;
  return b;
}

class VertexCount : public ::testing::Test {
 protected:
  std::string dir = makeTempDir("vcount");
  std::string file(const std::string& name, const vyxgen::Bytes& bytes) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(writeBytes(path, bytes));
    return path;
  }
};

TEST(ByteReaders, ComposeLittleEndianFromLowBytes) {
  EXPECT_EQ(readUnInt('\x11', '\x27', 0, 0), 10001u);
  EXPECT_EQ(readUnInt('\xFF', '\xFF', '\xFF', '\xFF'), 0xFFFFFFFFu);
  EXPECT_EQ(readSignInt('\xFF', '\xFF', '\xFF', '\xFF'), -1);
  EXPECT_EQ(readSignInt(0, 0, 0, '\x80'), INT32_MIN);
  EXPECT_EQ(readaFloat(0, 0, '\x80', '\x3F'), 1.0f);
  EXPECT_TRUE(std::signbit(readaFloat(0, 0, 0, '\x80')));
  EXPECT_EQ(readShort('\xFF', '\x7F'), 32767);
  EXPECT_EQ(readShort('\x00', '\x80'), -32768);
  EXPECT_EQ(readShort('\xFE', '\xFF'), -2);
  EXPECT_EQ(readanInt('\xFF'), 255);
  EXPECT_EQ(readanInt('\x05'), 5);
}

TEST_F(VertexCount, FirstBlockVerticesAnyByteCount) {
  Block b = vyxgen::vertexBlock(someVertices(3));
  b.count = 5000;  // the count is read, the records are not
  std::string path = file("v.vyx", vyxgen::fileBytes({b}, 0xAB));
  for (int n : {150, 151, 1000, 1 << 30}) EXPECT_EQ(GetVertCountFromVyX(path.c_str(), n), 5000.0f);
}

TEST_F(VertexCount, VertexBlockBehindA200ByteBlockNeedsMoreBytes) {
  vyxgen::Bytes bytes = vyxgen::fileBytes(
      {countOnly(99, 0, 200), countOnly(vyx::kTagVertices, 77, 16)});
  bytes.resize(32 + 200);
  vyxgen::Bytes tail = vyxgen::fileBytes({countOnly(vyx::kTagVertices, 77, 16)});
  bytes.insert(bytes.end(), tail.begin() + 32, tail.end());
  std::string path = file("late.vyx", bytes);
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 150), -18.0f);
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 300), 77.0f);
  // The header at 232 must start before n - 20.
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 252), -18.0f);
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 253), 77.0f);
}

TEST_F(VertexCount, SizeZeroStepsSixteenBytes) {
  std::string path = file("zero.vyx", vyxgen::fileBytes({countOnly(5, 0, 0),
                                                         countOnly(vyx::kTagVertices, 9, 16)}));
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 150), 9.0f);
}

TEST_F(VertexCount, MissingNullAndShortFiles) {
  EXPECT_EQ(GetVertCountFromVyX((dir + "/none.vyx").c_str(), 150), -1760.0f);
  EXPECT_EQ(GetVertCountFromVyX(nullptr, 150), -1760.0f);
  EXPECT_EQ(GetVertCountFromVyX(file("empty.vyx", {}).c_str(), 150), -18.0f);
  EXPECT_EQ(GetVertCountFromVyX(file("short.vyx", vyxgen::Bytes(100, 7)).c_str(), 150), -18.0f);
}

TEST_F(VertexCount, CountsAboveTwoToThe24RoundToFloat) {
  std::string path = file("big.vyx", vyxgen::fileBytes({countOnly(vyx::kTagVertices, 16777217u, 16)}));
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 150), 16777216.0f);
  path = file("max.vyx", vyxgen::fileBytes({countOnly(vyx::kTagVertices, 0xFFFFFFFFu, 16)}));
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 150), 4294967296.0f);
}

// Bytes past the end of a short file repeat its last byte: a file that ends
// inside a vertex block header still yields the count that padding makes.
TEST_F(VertexCount, MissingBytesRepeatTheLastByte) {
  vyxgen::Bytes bytes = vyxgen::fileBytes({countOnly(vyx::kTagVertices, 0, 16)});
  bytes.resize(32 + 9);  // tag, size and the count's first byte 0x00
  bytes.back() = 0x03;   // count's first byte; the other three become 3 too
  std::string path = file("cut.vyx", bytes);
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), 150), float(0x03030303u));
  // A step whose header falls past the real data ends in the padding.
  vyxgen::Bytes other = vyxgen::fileBytes({countOnly(1, 0, 40)});
  other.resize(50);
  EXPECT_EQ(GetVertCountFromVyX(file("pad.vyx", other).c_str(), 1 << 30), -18.0f);
}

TEST_F(VertexCount, HugeByteCountIsFastAndScanNeverLoops) {
  // A chain of zero-size blocks, then a block whose size wraps the position.
  std::vector<Block> blocks;
  for (int i = 0; i < 100; ++i) blocks.push_back(countOnly(7, 0, 0));
  blocks.push_back(countOnly(7, 0, 0xFFFFFFF0u));
  std::string path = file("wrap.vyx", vyxgen::fileBytes(blocks));
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GetVertCountFromVyX(path.c_str(), INT32_MAX), -18.0f);
  std::string empty = file("e.vyx", vyxgen::Bytes(40, 0));
  EXPECT_EQ(GetVertCountFromVyX(empty.c_str(), INT32_MAX), -18.0f);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(BlockScan, FindsOnlyBelowTheLimitAndStopsAtTheEnd) {
  vyxgen::Bytes bytes = vyxgen::fileBytes({countOnly(1, 0, 16), countOnly(25001, 3, 16)});
  uint32_t at = 0;
  EXPECT_TRUE(vyx::scanBuffer(bytes.data(), bytes.size(), 25001, bytes.size(), at));
  EXPECT_EQ(at, 48u);
  EXPECT_FALSE(vyx::scanBuffer(bytes.data(), bytes.size(), 25001, 48, at));
  EXPECT_FALSE(vyx::scanBuffer(bytes.data(), bytes.size(), 40001, bytes.size(), at));
  EXPECT_FALSE(vyx::scanBuffer(bytes.data(), bytes.size() - 1, 25001, bytes.size(), at));
  EXPECT_FALSE(vyx::scanBuffer(bytes.data(), 20, 25001, 100, at));
}

}  // namespace
