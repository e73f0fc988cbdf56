#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
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
  EXPECT_EQ(dll02().fn(decorated::getVertexCount), nullptr);
}

// What the file's properties show: version numbers and description.
TEST(WinLoad, CarriesItsVersionResource) {
  char path[MAX_PATH];
  ASSERT_NE(GetModuleFileNameA(dll02().module, path, MAX_PATH), 0u);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << path;
  std::string info(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, &info[0]));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&info[0], "\\", reinterpret_cast<void**>(&fixed), &length));
  char numbers[64];
  snprintf(numbers, sizeof numbers, "%lu.%lu.%lu", (unsigned long)HIWORD(fixed->dwFileVersionMS),
           (unsigned long)LOWORD(fixed->dwFileVersionMS), (unsigned long)HIWORD(fixed->dwFileVersionLS));
  EXPECT_STREQ(numbers, FENNICK_VERSION);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_DLL));
  auto text = [&](const char* key) {
    char* value = nullptr;
    UINT n = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
    if (!VerQueryValueA(&info[0], query.c_str(), reinterpret_cast<void**>(&value), &n) || !value)
      return std::string();
    return std::string(value);
  };
  EXPECT_EQ(text("FileVersion"), FENNICK_VERSION);
  EXPECT_EQ(text("ProductVersion"), FENNICK_VERSION);
  EXPECT_EQ(text("OriginalFilename"), "FennickDLL02.dll");
  EXPECT_NE(text("FileDescription").find("Fennick"), std::string::npos);
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
