#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "VyXOps.h"
#include "VyXWriter.h"

namespace {

using vyxgen::Block;
using vyxgen::Bytes;

class VyXFile : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("faces");
  void TearDown() override { faceID.clear(); }
  std::string file(const std::string& name, const Bytes& bytes) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(testsupport::writeBytes(path, bytes));
    return path;
  }
};

using FaceIDs = VyXFile;
using Groups = VyXFile;

using fennick::Status;

// Face IDs of bytes in memory.
std::vector<uint32_t> idsOf(const Bytes& bytes, double level) {
  std::vector<uint32_t> ids{99};
  EXPECT_EQ(vyx::faceIDs(bytes.data(), bytes.size(), level, ids), Status::Ok);
  return ids;
}

TEST(FaceIDsInMemory, OneEntryPerFaceScaledByLevel) {
  Block faces = vyxgen::faceBlock({{0, 1, 2, 3}, {0, 1, 2, 0xFFFFFFFFu}, {4, 5, 6, 7}});
  faces.tag = 5;  // the block at 32 is read as faces whatever its tag
  const Bytes bytes = vyxgen::fileBytes({faces, vyxgen::vertexBlock({{1, 2, 3}})});
  EXPECT_EQ(idsOf(bytes, 1), (std::vector<uint32_t>{4, 3, 4}));
  EXPECT_EQ(idsOf(bytes, 2), (std::vector<uint32_t>{16, 12, 16}));
  EXPECT_EQ(idsOf(bytes, 3), (std::vector<uint32_t>{64, 48, 64}));
  EXPECT_EQ(idsOf(bytes, 1.5), (std::vector<uint32_t>{8, 6, 8}));  // 4^0.5 = 2
  for (double level : {0.0, -3.0, 0.99})
    EXPECT_EQ(idsOf(bytes, level), (std::vector<uint32_t>{0, 0, 0})) << level;
  // 4^16 does not fit 32 bits, nor does a NaN: the multiplier is INT32_MIN
  // and the 32-bit products wrap.
  for (double level : {17.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()})
    EXPECT_EQ(idsOf(bytes, level), (std::vector<uint32_t>{0, 0x80000000u, 0})) << level;
  // Any fourth index with the top bit set is a triangle.
  EXPECT_EQ(idsOf(vyxgen::fileBytes({vyxgen::faceBlock({{0, 0, 0, 0x80000000u},
                                                         {0, 0, 0, 0x7FFFFFFFu}})}),
                  1),
            (std::vector<uint32_t>{3, 4}));
  Block none = vyxgen::faceBlock({});
  EXPECT_TRUE(idsOf(vyxgen::fileBytes({none}), 1).empty());
}

TEST(FaceIDsInMemory, DataTooShortLeavesTheListEmpty) {
  Block faces = vyxgen::faceBlock({{0, 1, 2, 3}, {0, 1, 2, 3}});
  faces.count = 3;  // one face more than the data holds
  for (const Bytes& bytes : {vyxgen::fileBytes({faces}), Bytes(47, 0), Bytes()}) {
    std::vector<uint32_t> ids{9};
    EXPECT_EQ(vyx::faceIDs(bytes.data(), bytes.size(), 1, ids), Status::PastEnd);
    EXPECT_TRUE(ids.empty());
  }
}

// The export: the list it fills, the count it answers, replaced each time.
TEST_F(FaceIDs, TheListOfTheExportIsReplaced) {
  Block faces = vyxgen::faceBlock({{0, 1, 2, 3}, {0, 1, 2, 0xFFFFFFFFu}, {4, 5, 6, 7}});
  std::string path = file("f.vyx", vyxgen::fileBytes({faces}));
  EXPECT_EQ(GetFaceIDsVyx(path.c_str(), 1), 3.0f);
  EXPECT_EQ(faceID, (std::vector<uint32_t>{4, 3, 4}));
  EXPECT_EQ(GetFaceIDsVyx(path.c_str(), 2), 3.0f);  // replaced, not appended
  EXPECT_EQ(faceID, (std::vector<uint32_t>{16, 12, 16}));
}

TEST_F(FaceIDs, FailuresLeaveTheListEmpty) {
  faceID = {9, 9};
  EXPECT_EQ(GetFaceIDsVyx(nullptr, 1), -1760.0f);
  EXPECT_TRUE(faceID.empty());
  faceID = {9};
  EXPECT_EQ(GetFaceIDsVyx((dir + "/none.vyx").c_str(), 1), -1760.0f);
  EXPECT_TRUE(faceID.empty());
  Block faces = vyxgen::faceBlock({{0, 1, 2, 3}, {0, 1, 2, 3}});
  faces.count = 3;  // one face more than the data holds
  faceID = {9};
  EXPECT_EQ(GetFaceIDsVyx(file("short.vyx", vyxgen::fileBytes({faces})).c_str(), 1), -19.0f);
  EXPECT_TRUE(faceID.empty());
  faces.count = 0;
  EXPECT_EQ(GetFaceIDsVyx(file("none.vyx", vyxgen::fileBytes({faces})).c_str(), 1), 0.0f);
  EXPECT_TRUE(faceID.empty());
}

// Distinct group values of bytes in memory, or the failure.
uint32_t groupsOf(const Bytes& bytes, Status expected = Status::Ok) {
  uint32_t distinct = 12345;
  EXPECT_EQ(vyx::groupCount(bytes.data(), bytes.size(), distinct), expected);
  return distinct;
}

TEST(GroupsInMemory, DistinctValuesOfTheGroupBlock) {
  Block other;
  other.tag = 7;
  other.records.assign(40, 0);
  EXPECT_EQ(groupsOf(vyxgen::fileBytes({other, vyxgen::groupBlock({5, 5, 7, -1, 7})})), 3u);
  EXPECT_EQ(groupsOf(vyxgen::fileBytes({vyxgen::groupBlock({})})), 0u);
  std::vector<int16_t> all;
  for (int v = -32768; v <= 32767; ++v) all.push_back(int16_t(v));
  all.push_back(0);
  all.push_back(-32768);
  EXPECT_EQ(groupsOf(vyxgen::fileBytes({vyxgen::groupBlock(all)})), 65536u);
  // 1 and 256 differ only in which byte holds the bit: both count.
  EXPECT_EQ(groupsOf(vyxgen::fileBytes({vyxgen::groupBlock({1, 256, -256, -1})})), 4u);
}

TEST(GroupsInMemory, NoBlockAndValuesPastTheEnd) {
  groupsOf(vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}})}), Status::NoBlock);
  groupsOf(Bytes(), Status::NoBlock);
  Block g = vyxgen::groupBlock({1, 2, 3});
  g.count = 4;
  groupsOf(vyxgen::fileBytes({g}), Status::PastEnd);
  g.count = 0x80000000u;
  groupsOf(vyxgen::fileBytes({g}), Status::PastEnd);
}

TEST_F(Groups, ResultsOfTheExport) {
  EXPECT_EQ(GetUVGroup(nullptr), -17.0f);
  EXPECT_EQ(GetUVGroup((dir + "/none.vyx").c_str()), -17.0f);
  EXPECT_EQ(GetUVGroup(file("g.vyx", vyxgen::fileBytes({vyxgen::groupBlock({5, 5, 7})})).c_str()),
            2.0f);
  EXPECT_EQ(GetUVGroup(file("v.vyx", vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}})})).c_str()),
            -18.0f);
  Block g = vyxgen::groupBlock({1, 2, 3});
  g.count = 4;
  EXPECT_EQ(GetUVGroup(file("long.vyx", vyxgen::fileBytes({g})).c_str()), -19.0f);
}

}  // namespace
