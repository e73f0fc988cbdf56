#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "VyXCore.h"
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

// The vertex count the in-memory reader finds in the first n bytes, or -1
// when it finds no vertex block.
int64_t countIn(const vyxgen::Bytes& bytes, int n) {
  uint32_t count = 0;
  fennick::Status s = vyx::vertexCount(bytes.data(), bytes.size(), n, count);
  EXPECT_TRUE(s == fennick::Status::Ok || s == fennick::Status::NoBlock);
  return s == fennick::Status::Ok ? int64_t(count) : -1;
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

TEST(VertexCountInMemory, FirstBlockVerticesAnyByteCount) {
  Block b = vyxgen::vertexBlock(someVertices(3));
  b.count = 5000;  // the count is read, the records are not
  const vyxgen::Bytes bytes = vyxgen::fileBytes({b}, 0xAB);
  for (int n : {150, 151, 1000, 1 << 30}) EXPECT_EQ(countIn(bytes, n), 5000);
  EXPECT_EQ(countIn(bytes, 0), -1);
  EXPECT_EQ(countIn(bytes, -5), -1);
}

TEST(VertexCountInMemory, VertexBlockBehindA200ByteBlockNeedsMoreBytes) {
  vyxgen::Bytes bytes = vyxgen::fileBytes(
      {countOnly(99, 0, 200), countOnly(vyx::kTagVertices, 77, 16)});
  bytes.resize(32 + 200);
  vyxgen::Bytes tail = vyxgen::fileBytes({countOnly(vyx::kTagVertices, 77, 16)});
  bytes.insert(bytes.end(), tail.begin() + 32, tail.end());
  EXPECT_EQ(countIn(bytes, 150), -1);
  EXPECT_EQ(countIn(bytes, 300), 77);
  // The header at 232 must start before n - 20.
  EXPECT_EQ(countIn(bytes, 252), -1);
  EXPECT_EQ(countIn(bytes, 253), 77);
}

TEST(VertexCountInMemory, SizeZeroStepsSixteenBytes) {
  EXPECT_EQ(countIn(vyxgen::fileBytes({countOnly(5, 0, 0), countOnly(vyx::kTagVertices, 9, 16)}),
                    150),
            9);
  EXPECT_EQ(countIn({}, 150), -1);
  EXPECT_EQ(countIn(vyxgen::Bytes(100, 7), 150), -1);
}

// Bytes past the end of short data repeat its last byte: data that ends
// inside a vertex block header still yields the count that padding makes.
TEST(VertexCountInMemory, MissingBytesRepeatTheLastByte) {
  vyxgen::Bytes bytes = vyxgen::fileBytes({countOnly(vyx::kTagVertices, 0, 16)});
  bytes.resize(32 + 9);  // tag, size and the count's first byte 0x00
  bytes.back() = 0x03;   // count's first byte; the other three become 3 too
  EXPECT_EQ(countIn(bytes, 150), 0x03030303);
  // Within n the data is not padded: n cuts it.
  EXPECT_EQ(countIn(bytes, 41), -1);
  // A step whose header falls past the real data ends in the padding.
  vyxgen::Bytes other = vyxgen::fileBytes({countOnly(1, 0, 40)});
  other.resize(50);
  EXPECT_EQ(countIn(other, 1 << 30), -1);
}

TEST(VertexCountInMemory, HugeByteCountIsFastAndScanNeverLoops) {
  // A chain of zero-size blocks, then a block whose size wraps the position.
  std::vector<Block> blocks;
  for (int i = 0; i < 100; ++i) blocks.push_back(countOnly(7, 0, 0));
  blocks.push_back(countOnly(7, 0, 0xFFFFFFF0u));
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(countIn(vyxgen::fileBytes(blocks), INT32_MAX), -1);
  EXPECT_EQ(countIn(vyxgen::Bytes(40, 0), INT32_MAX), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// The file reader holds only a head of the file and reads further headers
// where the scan steps: it must find what the reader of the whole data
// finds, in and beyond the head, in the padding of a file shorter than n.
TEST_F(VertexCount, FileReaderAgreesWithTheReaderOfTheWholeData) {
  std::vector<vyxgen::Bytes> cases;
  for (uint32_t skip : {16u, 4000u, 4060u, 4070u, 6000u}) {
    vyxgen::Bytes bytes = vyxgen::fileBytes({countOnly(99, 0, skip)});
    bytes.resize(32 + skip, 0x5A);
    vyxgen::Bytes tail = vyxgen::fileBytes({countOnly(vyx::kTagVertices, 4242, 16)});
    bytes.insert(bytes.end(), tail.begin() + 32, tail.end());
    cases.push_back(bytes);
    bytes.resize(32 + skip + 9);  // cut in the count: the padding completes it
    bytes.back() = 0x02;
    cases.push_back(bytes);
  }
  int k = 0;
  for (const vyxgen::Bytes& bytes : cases) {
    const std::string path = file("c" + std::to_string(k++) + ".vyx", bytes);
    for (int n : {150, 4096, 4100, 4200, 6100, 1 << 20}) {
      uint32_t fromFile = 0, fromMemory = 0;
      fennick::Status f = vyx::vertexCountOfFile(path.c_str(), n, fromFile);
      fennick::Status m = vyx::vertexCount(bytes.data(), bytes.size(), n, fromMemory);
      EXPECT_EQ(f, m) << path << " n " << n;
      EXPECT_EQ(fromFile, fromMemory) << path << " n " << n;
    }
  }
  // Every case is found with the largest n.
  for (const vyxgen::Bytes& bytes : cases) EXPECT_GT(countIn(bytes, 1 << 20), 0);
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
