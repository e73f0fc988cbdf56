#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Edition.h"
#include "TestSupport.h"
#include "VyXWriter.h"

namespace {

TEST(Load, BothEditionsLoadAndAnswerVersion) {
  ASSERT_NE(dll().handle, nullptr) << dlerror();
  ASSERT_NE(dll02().handle, nullptr) << dlerror();
  EXPECT_EQ(dll().call("Version"), 2.0f);
  EXPECT_EQ(dll02().call("Version"), 2.0f);
}

TEST(Load, EachEditionHasItsOwnSpellingOfTheVyXCount) {
  EXPECT_NE(dll().fn("GetVertsVyX"), nullptr);
  EXPECT_EQ(dll().fn("GetVertsVyx"), nullptr);
  EXPECT_NE(dll02().fn("GetVertsVyx"), nullptr);
  EXPECT_EQ(dll02().fn("GetVertsVyX"), nullptr);
  EXPECT_NE(dll().fn("GetVertsOBJ"), nullptr);
  EXPECT_NE(dll02().fn("GetVertsOBJ"), nullptr);
}

// Decorated names as a caller that links against the library expects them.
TEST(Load, DecoratedFunctionsAreExportedFromFennickDLLOnly) {
  const char* names[] = {
      decorated::GetVertCountFromVyX, decorated::getVertexCount,   decorated::readUnInt,
      decorated::readSignInt,         decorated::readaFloat,       decorated::readShort,
      decorated::readanInt,           decorated::FileNameExtract,  decorated::FilepathTruncate,
      decorated::Mobrel01_HelloWorld,
  };
  for (const char* name : names) {
    EXPECT_NE(dll().symbol(name), nullptr) << name;
    EXPECT_EQ(dll02().symbol(name), nullptr) << name;
  }
}

TEST(Calls, DecoratedFunctionsWorkThroughTheLibrary) {
  using ReadUnInt = unsigned (*)(char, char, char, char);
  auto readUnInt = reinterpret_cast<ReadUnInt>(dll().symbol(decorated::readUnInt));
  ASSERT_NE(readUnInt, nullptr);
  EXPECT_EQ(readUnInt('\x11', '\x27', 0, 0), 10001u);
}

class VyXCountNumbers : public ::testing::Test {
 protected:
  std::string path;
  void SetUp() override {
    // The vertex block starts at 130: found only when n - 20 > 130.
    vyxgen::Block first;
    first.tag = 3;
    first.sizeSet = true;
    first.size = 98;
    vyxgen::Block v;
    v.tag = 10001;
    v.count = 321;
    vyxgen::Bytes bytes = vyxgen::fileBytes({first});
    bytes.resize(130);
    vyxgen::Bytes rest = vyxgen::fileBytes({v});
    bytes.insert(bytes.end(), rest.begin() + 32, rest.end());
    bytes.resize(400, 0);
    path = testsupport::makeTempDir("abi") + "/late.vyx";
    ASSERT_TRUE(testsupport::writeBytes(path, bytes));
  }
};

TEST_F(VyXCountNumbers, NumberBecomesTheByteCountInBothEditions) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (Edition* e : {&dll(), &dll02()}) {
    const char* name = e == &dll() ? "GetVertsVyX" : "GetVertsVyx";
    EXPECT_EQ(e->call(name, path.c_str(), 0), -18.0f);
    EXPECT_EQ(e->call(name, path.c_str(), -5), -18.0f);
    EXPECT_EQ(e->call(name, path.c_str(), nan), -18.0f);
    EXPECT_EQ(e->call(name, path.c_str(), -inf), -18.0f);
    EXPECT_EQ(e->call(name, path.c_str(), 150.9), -18.0f);
    EXPECT_EQ(e->call(name, path.c_str(), 151), 321.0f);
    EXPECT_EQ(e->call(name, path.c_str(), 200.7), 321.0f);
    EXPECT_EQ(e->call(name, path.c_str(), 1e300), 321.0f);
    EXPECT_EQ(e->call(name, path.c_str(), inf), 321.0f);
    EXPECT_EQ(e->call(name, nullptr, 151), -1760.0f);
    EXPECT_EQ(e->call(name, "/no/such/file.vyx", 151), -1760.0f);
  }
}

TEST(Calls, ObjCountInBothEditions) {
  std::string path = testsupport::makeTempDir("abi") + "/m.obj";
  ASSERT_TRUE(testsupport::writeText(path, "v 0 0 0\nv 1 0 0\nvt 0 0\nf 1 2 2\n"));
  EXPECT_EQ(dll().call("GetVertsOBJ", path.c_str()), 2.0f);
  EXPECT_EQ(dll02().call("GetVertsOBJ", path.c_str()), 2.0f);
  EXPECT_EQ(dll().call("GetVertsOBJ", nullptr), -1.0f);
  EXPECT_EQ(dll02().call("GetVertsOBJ", nullptr), -1.0f);
}

TEST(Calls, SamplesGiveTheirCounts) {
  std::string dir = FENNICK_SAMPLES_DIR;
  EXPECT_EQ(dll().call("GetVertsVyX", (dir + "/grid.vyx").c_str(), 0), 20.0f);
  EXPECT_EQ(dll02().call("GetVertsVyx", (dir + "/grid.vyx").c_str(), 0), 20.0f);
  EXPECT_EQ(dll().call("GetVertsOBJ", (dir + "/cube.obj").c_str()), 8.0f);
}

}  // namespace
