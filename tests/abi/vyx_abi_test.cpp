#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Edition.h"
#include "TestSupport.h"
#include "VyXWriter.h"

namespace {

using PathText = float (*)(const char*, char*);
using PathLevel = float (*)(const char*, double);
using IndexText = void (*)(int, char*);
using NoArgs = void (*)();
using PathOnly = float (*)(const char*);

// The VyX conversions as a caller linked against FennickDLL names them.
struct Conversions {
  PathLevel faceIDs = reinterpret_cast<PathLevel>(dll().symbol(decorated::GetFaceIDsVyx));
  PathText toObj = reinterpret_cast<PathText>(dll().symbol(decorated::writeOBJfromVyx));
  PathText colours = reinterpret_cast<PathText>(dll().symbol(decorated::ReadVertColorVyx));
  PathText uvTile = reinterpret_cast<PathText>(dll().symbol(decorated::GetUVTile));
  PathText split = reinterpret_cast<PathText>(dll().symbol(decorated::GetUVsFromVyX));
  IndexText tileString = reinterpret_cast<IndexText>(dll().symbol(decorated::getUVTileString));
  NoArgs clearTiles = reinterpret_cast<NoArgs>(dll().symbol(decorated::clearUVTileString));
  PathText merge = reinterpret_cast<PathText>(dll().symbol(decorated::mergeFiles));
  PathOnly groups = reinterpret_cast<PathOnly>(dll().symbol(decorated::GetUVGroup));
  auto* faceIDList() const { return static_cast<std::vector<uint32_t>*>(dll().symbol("faceID")); }
  auto* tileNames() const {
    return static_cast<std::vector<std::string>*>(dll().symbol(decorated::UVTileStr));
  }
};

TEST(VyXExports, DecoratedNamesInFennickDLLOnly) {
  const char* names[] = {decorated::GetFaceIDsVyx, decorated::writeOBJfromVyx,
                         decorated::ReadVertColorVyx, decorated::GetUVTile,
                         decorated::GetUVsFromVyX, decorated::getUVTileString,
                         decorated::clearUVTileString, decorated::mergeFiles,
                         decorated::GetUVGroup, "faceID", decorated::UVTileStr};
  for (const char* name : names) {
    EXPECT_NE(dll().symbol(name), nullptr) << name;
    EXPECT_EQ(dll02().symbol(name), nullptr) << name;
  }
  EXPECT_NE(dll().fn("getGroups"), nullptr);
  EXPECT_EQ(dll02().fn("getGroups"), nullptr);
  // No plain names for the conversions.
  for (const char* plain : {"writeOBJfromVyx", "GetFaceIDsVyx", "GetUVsFromVyX", "mergeFiles"})
    EXPECT_EQ(dll().symbol(plain), nullptr) << plain;
}

TEST(VyXExports, GetGroupsFrame) {
  std::string dir = testsupport::makeTempDir("abi_groups");
  std::string path = dir + "/g.vyx";
  ASSERT_TRUE(vyxgen::writeFile(path, vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}}),
                                                         vyxgen::groupBlock({5, 5, 7, -1, 7})})));
  char block[8] = "same";
  EXPECT_EQ(dll().call("getGroups", path.c_str(), 123.0, block), 3.0f);
  EXPECT_STREQ(block, "same");
  EXPECT_EQ(dll().call("getGroups", nullptr), -9.0f);
  EXPECT_EQ(dll().call("getGroups", (dir + "/none.vyx").c_str()), -17.0f);
  EXPECT_EQ(dll().call("getGroups", (std::string(FENNICK_SAMPLES_DIR) + "/tri.vyx").c_str()), -18.0f);
  Conversions c;
  ASSERT_NE(c.groups, nullptr);
  EXPECT_EQ(c.groups(nullptr), -17.0f);
}

TEST(VyXExports, FaceIDsThenObjKeepTheirStateInTheLibrary) {
  Conversions c;
  ASSERT_TRUE(c.faceIDs && c.toObj && c.faceIDList());
  std::string dir = testsupport::makeTempDir("abi_obj");
  std::string samples = FENNICK_SAMPLES_DIR;
  std::string obj = dir + "/grid.obj";
  EXPECT_EQ(c.toObj((samples + "/grid.vyx").c_str(), &obj[0]), -18.0f);
  EXPECT_EQ(c.faceIDs((samples + "/grid_faces.vyx").c_str(), 1), 12.0f);
  EXPECT_EQ(*c.faceIDList(), std::vector<uint32_t>(12, 4));
  EXPECT_EQ(c.toObj((samples + "/grid.vyx").c_str(), &obj[0]), 0.0f);
  EXPECT_TRUE(c.faceIDList()->empty());
  std::string text = testsupport::readText(obj);
  EXPECT_EQ(text.substr(0, 65),
            "# File exported by Plaxio plugin\n#Vertex count 20\n#Face count 12\n");
  EXPECT_NE(text.find("#FaceID 3\nf 11 12 17 16\n"), std::string::npos);
  EXPECT_EQ(text.find("#FaceID 4"), std::string::npos);  // the block ends first
  EXPECT_EQ(c.toObj((samples + "/grid.vyx").c_str(), &obj[0]), -18.0f);
  EXPECT_EQ(c.faceIDs(nullptr, 1), -1760.0f);
}

TEST(VyXExports, TileSplitScenario) {
  Conversions c;
  ASSERT_TRUE(c.uvTile && c.split && c.tileString && c.clearTiles && c.tileNames());
  std::string dir = testsupport::makeTempDir("abi_tiles");
  std::string mesh = std::string(FENNICK_SAMPLES_DIR) + "/grid.vyx";
  char name[64] = "";
  EXPECT_EQ(c.uvTile(mesh.c_str(), name), 2.0f);
  EXPECT_STREQ(name, "_u1_v0");
  std::string out = dir + "/grid.obj";
  ASSERT_EQ(c.split(mesh.c_str(), &out[0]), 2.0f);
  EXPECT_EQ(*c.tileNames(), (std::vector<std::string>{"_u0_v0", "_u1_v0"}));
  c.tileString(1, name);
  EXPECT_STREQ(name, "_u1_v0");
  c.tileString(0, name);
  EXPECT_STREQ(name, "_u0_v0");
  // Each tile file is a VyX file the vertex count reads like its input.
  EXPECT_EQ(dll().call("GetVertsVyX", (dir + "/grid1.VyX").c_str(), 0), 20.0f);
  c.clearTiles();
  EXPECT_TRUE(c.tileNames()->empty());
  std::strcpy(name, "kept");
  c.tileString(0, name);
  EXPECT_STREQ(name, "kept");
}

TEST(VyXExports, ColoursAndMerge) {
  Conversions c;
  ASSERT_TRUE(c.colours && c.merge);
  std::string dir = testsupport::makeTempDir("abi_merge");
  std::string txt = dir + "/c.txt";
  std::string colours = std::string(FENNICK_SAMPLES_DIR) + "/grid_colours.vyx";
  EXPECT_EQ(c.colours(colours.c_str(), &txt[0]), 0.0f);
  EXPECT_NE(testsupport::readText(txt).find("#RGB  ff0000 bf3f00 "), std::string::npos);
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(testsupport::writeBytes(target, std::vector<uint8_t>(20, 1)));
  ASSERT_TRUE(testsupport::writeBytes(dir + "/a.bin", std::vector<uint8_t>(17, 2)));
  EXPECT_EQ(c.merge((dir + "/a.bin").c_str(), &target[0]), 0.0f);
  std::vector<uint8_t> expected(6, 1);
  expected.insert(expected.end(), 3, 2);
  EXPECT_EQ(testsupport::readBytes(target), expected);
  EXPECT_EQ(c.merge((dir + "/none.bin").c_str(), &target[0]), -1760.0f);
  EXPECT_EQ(testsupport::readBytes(target), expected);
}

}  // namespace
