#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestSupport.h"
#include "VyXWriter.h"
#include "WinEdition.h"

namespace {

TEST(WinLoad, LoadsAndAnswersVersion) {
  ASSERT_NE(dll02().module, nullptr) << "LoadLibrary failed: " << GetLastError();
  EXPECT_EQ(dll02().call("Version"), 2.0f);
}

TEST(WinLoad, PlainNamesOnlyNoDecoration) {
  EXPECT_NE(dll02().fn("GetVertsVyx"), nullptr);
  EXPECT_NE(dll02().fn("GetVertsOBJ"), nullptr);
  EXPECT_EQ(dll02().fn("GetVertsVyX"), nullptr);
  EXPECT_EQ(dll02().fn("_Version"), nullptr);
  EXPECT_EQ(dll02().fn("Version@24"), nullptr);
  EXPECT_EQ(dll02().fn("_Z14getVertexCountPKc"), nullptr);
}

TEST(WinCalls, VertexCounts) {
  std::string dir = testsupport::makeTempDir("win");
  vyxgen::Block v;
  v.tag = 10001;
  v.count = 5000;
  std::string vyx = dir + "\\v.vyx";
  ASSERT_TRUE(testsupport::writeBytes(vyx, vyxgen::fileBytes({v})));
  EXPECT_EQ(dll02().call("GetVertsVyx", vyx.c_str(), 0), 5000.0f);
  EXPECT_EQ(dll02().call("GetVertsVyx", vyx.c_str(), std::numeric_limits<double>::quiet_NaN()),
            5000.0f);
  EXPECT_EQ(dll02().call("GetVertsVyx", vyx.c_str(), 1e300), 5000.0f);
  EXPECT_EQ(dll02().call("GetVertsVyx", (dir + "\\missing.vyx").c_str(), 0), -1760.0f);
  EXPECT_EQ(dll02().call("GetVertsVyx", nullptr, 0), -1760.0f);
  std::string obj = dir + "\\m.obj";
  ASSERT_TRUE(testsupport::writeText(obj, "v 0 0 0\r\nv 1 0 0\r\nvt 0 0\r\n#Vertex Count 7\r\n"));
  EXPECT_EQ(dll02().call("GetVertsOBJ", obj.c_str()), 7.0f);
  EXPECT_EQ(dll02().call("GetVertsOBJ", nullptr), -1.0f);
}

}  // namespace
