#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "Edition.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::readText;

const char* kQuad =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "g box\nf 1/1 2/2 3/3 4/4\n";

class ColladaAbi : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("collada_abi");
  std::string obj = dir + "/box.obj";
  void SetUp() override { ASSERT_TRUE(testsupport::writeText(obj, kQuad)); }
  std::string run(const char* name, double number, const std::string& outName = "box.dae") {
    std::string out = dir + "/" + outName;
    std::string block = out;
    EXPECT_EQ(dll().call(name, obj.c_str(), number, &block[0]), 0.0f) << name;
    return readText(out);
  }
};

TEST(ColladaExports, OnlyFennickDLLHasThem) {
  for (const char* name : {"setTxrName", "setDate", "writeCollada", "writeColladaTris"}) {
    EXPECT_NE(dll().fn(name), nullptr) << name;
    EXPECT_EQ(dll02().fn(name), nullptr) << name;
  }
  const char* names[] = {
      decorated::OBJtoCOLLADA,     decorated::OBJtoCOLLADATris,       decorated::setTextureName,
      decorated::setDateTime,      decorated::CalculateSurfaceNormal, "fileHeader",
  };
  for (const char* name : names) {
    EXPECT_NE(dll().symbol(name), nullptr) << name;
    EXPECT_EQ(dll02().symbol(name), nullptr) << name;
  }
}

TEST_F(ColladaAbi, NumberBecomesTheNormalMode) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::string none = run("writeCollada", 0);
  EXPECT_EQ(none.find("-normals"), std::string::npos);
  EXPECT_EQ(run("writeCollada", -0.5), none);
  EXPECT_EQ(run("writeCollada", nan), none);
  EXPECT_EQ(run("writeCollada", 3e9), none);
  EXPECT_EQ(run("writeCollada", -std::numeric_limits<double>::infinity()), none);
  std::string perFace = run("writeCollada", 1.9);
  EXPECT_NE(perFace.find("count=\"12\">0 -0 1 0 -0 1 0 -0 1 0 -0 1 </float_array>"),
            std::string::npos);
  // The quad is flat, so smoothed normals have the same direction (the sum
  // of +0 and -0 is +0).
  std::string smooth = run("writeCollada", 2.9);
  EXPECT_NE(smooth.find("count=\"12\">0 0 1 0 0 1 0 0 1 0 0 1 </float_array>"), std::string::npos);
  // Mode 3 keeps the raw sums: a quad of side 2 gives length 4.
  ASSERT_TRUE(testsupport::writeText(obj, "v 0 0 0\nv 2 0 0\nv 2 2 0\nv 0 2 0\nvt 0 0\n"
                                          "g box\nf 1/1 2/1 3/1 4/1\n"));
  std::string raw = run("writeColladaTris", 3.5, "raw.dae");
  EXPECT_NE(raw.find("count=\"12\">0 0 4 0 0 4 0 0 4 0 0 4 </float_array>"), std::string::npos);
  EXPECT_NE(run("writeColladaTris", 2, "smooth.dae").find("count=\"12\">0 0 1 0 0 1 "),
            std::string::npos);
}

TEST_F(ColladaAbi, SettersStoreTextsForLaterExports) {
  EXPECT_EQ(dll().call("setTxrName", "skin", 5, nullptr), 0.0f);
  EXPECT_EQ(dll().call("setDate", "yesterday"), 0.0f);
  std::string doc = run("writeCollada", 0);
  EXPECT_NE(doc.find("      <init_from>./skin.bmp</init_from>\n"), std::string::npos);
  EXPECT_NE(doc.find("    <created>yesterday</created>\n    <modified>yesterday</modified>\n"),
            std::string::npos);
  EXPECT_NE(run("writeColladaTris", 0).find("./skin.bmp"), std::string::npos);
  // Null texts store empty ones.
  EXPECT_EQ(dll().call("setTxrName", nullptr), 0.0f);
  EXPECT_EQ(dll().call("setDate", nullptr), 0.0f);
  doc = run("writeCollada", 0);
  EXPECT_NE(doc.find("./.bmp"), std::string::npos);
  EXPECT_NE(doc.find("<created></created>"), std::string::npos);
}

TEST_F(ColladaAbi, NullArgumentsTouchNothing) {
  run("writeCollada", 0, "first.dae");
  auto* header = static_cast<std::string*>(dll().symbol("fileHeader"));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header[0], "first");  // modelName, the first of the six texts
  EXPECT_EQ(header[2], "author");
  EXPECT_EQ(header[3], "copyright 2010");
  EXPECT_EQ(header[4], "comments here");
  std::string out = dir + "/never.dae";
  for (const char* name : {"writeCollada", "writeColladaTris"}) {
    EXPECT_EQ(dll().call(name, nullptr, 1, &out[0]), -9.0f);
    EXPECT_EQ(dll().call(name, obj.c_str(), 1, nullptr), -9.0f);
    EXPECT_EQ(dll().call(name, nullptr, 1, nullptr), -9.0f);
  }
  EXPECT_EQ(header[0], "first");
  EXPECT_FALSE(fileExists(out));
}

TEST_F(ColladaAbi, FailureCodes) {
  std::string out = dir + "/no/such/folder/x.dae";
  EXPECT_EQ(dll().call("writeCollada", obj.c_str(), 0, &out[0]), -2.0f);
  std::string missing = dir + "/missing.obj";
  std::string target = dir + "/x.dae";
  EXPECT_EQ(dll().call("writeColladaTris", missing.c_str(), 0, &target[0]), -1.0f);
  EXPECT_FALSE(fileExists(target));
  std::string bad = dir + "/bad.obj";
  ASSERT_TRUE(testsupport::writeText(bad, "v 0 0 0\nvt 0 0\ng a\nf 1 2 3\n"));
  EXPECT_EQ(dll().call("writeCollada", bad.c_str(), 1, &target[0]), -4.0f);
  EXPECT_FALSE(fileExists(target));
}

TEST_F(ColladaAbi, DecoratedWriterAndNormalWorkThroughTheLibrary) {
  using Writer = float (*)(const char*, char*, int);
  auto writer = reinterpret_cast<Writer>(dll().symbol(decorated::OBJtoCOLLADATris));
  ASSERT_NE(writer, nullptr);
  std::string out = dir + "/head.dae";
  EXPECT_EQ(writer(obj.c_str(), &out[0], 0), 0.0f);
  EXPECT_NE(readText(out).find("<geometry id=\"head_\" name=\"head_\">"), std::string::npos);
  using Normal = void (*)(float*, bool);
  auto normal = reinterpret_cast<Normal>(dll().symbol(decorated::CalculateSurfaceNormal));
  ASSERT_NE(normal, nullptr);
  float p[12] = {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 0};
  normal(p, false);
  EXPECT_EQ(p[11], 4.0f);
  EXPECT_TRUE(std::signbit(p[10]));
}

}  // namespace
