// Desktop exports of both editions, loaded by path as the application does.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Edition.h"
#include "TestSupport.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(DesktopAbi, PasteTextAlwaysZero) {
  for (Edition* e : {&dll(), &dll02()}) {
    EXPECT_EQ(e->call("PasteText", "Hello, World 123!", kNaN), 0.0f);
    EXPECT_EQ(e->call("PasteText", ""), 0.0f);
    EXPECT_EQ(e->call("PasteText", nullptr), 0.0f);
    EXPECT_EQ(e->call("PasteText", "\xc3\xa9\xff"), 0.0f);
  }
}

TEST(DesktopAbi, ClipboardVersionAndRunApp) {
  // No window titled "Plaxio" on Linux: -1; null text refused with -9.
  EXPECT_EQ(dll02().call("CopyToClipboard", "text"), -1.0f);
  EXPECT_EQ(dll02().call("CopyToClipboard", nullptr), -9.0f);
  std::string dir = testsupport::makeTempDir("desk");
  ASSERT_TRUE(testsupport::writeText(dir + "/beta.txt", "Plaxio 2009 BETA"));
  ASSERT_TRUE(testsupport::writeText(dir + "/four.txt", "Plaxio 4 (2009)"));
  ASSERT_TRUE(testsupport::writeText(dir + "/old.txt", "Plaxio 3 (2008)"));
  EXPECT_EQ(dll02().call("checkPlaxioVersion", (dir + "/beta.txt").c_str()), -1.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", (dir + "/four.txt").c_str()), -1.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", (dir + "/old.txt").c_str()), 0.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", (dir + "/none.txt").c_str()), -17.0f);
  EXPECT_EQ(dll02().call("checkPlaxioVersion", nullptr), 0.0f);
  EXPECT_EQ(dll02().call("RunApp", "anything"), 0.0f);
  EXPECT_EQ(dll02().call("RunApp", nullptr), -1.0f);
  // Only FennickDLL02 has them.
  EXPECT_EQ(dll().fn("CopyToClipboard"), nullptr);
  EXPECT_EQ(dll().fn("checkPlaxioVersion"), nullptr);
  EXPECT_EQ(dll().fn("RunApp"), nullptr);
}

TEST(DesktopAbi, CocoaFunctionsUnderDecoratedNames) {
  using Text = char* (*)();
  using FromArray = char* (*)(int);
  using Browser = int (*)(const char*, const char*);
  using Create = bool (*)(const char*);
  auto fromArray = reinterpret_cast<FromArray>(dll().symbol(decorated::fileFromArray));
  auto pasteboard = reinterpret_cast<Text>(dll().symbol(decorated::getPasteboardText));
  auto browser = reinterpret_cast<Browser>(dll().symbol(decorated::runCocoaOpenFileBrowser));
  auto create = reinterpret_cast<Create>(dll().symbol(decorated::createFolder));
  ASSERT_NE(fromArray, nullptr);
  ASSERT_NE(pasteboard, nullptr);
  ASSERT_NE(browser, nullptr);
  ASSERT_NE(create, nullptr);
  EXPECT_NE(dll().symbol(decorated::DoKeyPress), nullptr);
  EXPECT_NE(dll().symbol(decorated::clearFilesL), nullptr);
  EXPECT_NE(dll().symbol(decorated::getSharedFolder), nullptr);
  EXPECT_NE(dll().symbol(decorated::getScreenPos), nullptr);
  EXPECT_EQ(fromArray(0), nullptr);
  EXPECT_EQ(pasteboard(), nullptr);
  EXPECT_EQ(browser("Open", "obj"), 0);
  std::string dir = testsupport::makeTempDir("deskmk");
  EXPECT_TRUE(create((dir + "/sub").c_str()));
  EXPECT_FALSE(create((dir + "/sub").c_str()));
}

}  // namespace
