// FileOps' file replacement on Windows, linked in directly: no export of
// FennickDLL02 replaces a file beside itself (the merge belongs to the other
// edition), so these are the only runs of that way on Windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FileOps.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::readText;
using testsupport::writeAndClose;
using testsupport::writeText;

TEST(WinReplace, BesideTakesTheFilesNameOnlyWhenComplete) {
  const std::string dir = testsupport::makeTempDir("winbeside");
  const std::string target = dir + "\\t.bin";
  ASSERT_TRUE(writeText(target, "old contents"));
  ASSERT_TRUE(writeText(target + ".new0", "someone's file"));
  fileops::Replacement r;
  textops::FilePtr f = fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Beside);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileops::finishReplacement(r, false));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileExists(target + ".new1"));

  f = fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Beside);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_TRUE(fileops::finishReplacement(r, true));  // over the existing file
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(readText(target + ".new0"), "someone's file");
  EXPECT_FALSE(fileExists(target + ".new1"));
}

TEST(WinReplace, BesideNeedsAFileWritableAsItself) {
  const std::string dir = testsupport::makeTempDir("winfolder");
  fileops::Replacement r;
  EXPECT_FALSE(fileops::openReplacement(r, dir.c_str(), fileops::ReplaceWay::Beside));
  EXPECT_FALSE(r.inPlaceOnly);
  EXPECT_FALSE(fileExists(dir + ".new0"));
}

TEST(WinReplace, RecreateWritesTheFileAnew) {
  const std::string dir = testsupport::makeTempDir("winrecreate");
  const std::string target = dir + "\\t.bin";
  ASSERT_TRUE(writeText(target, "a longer old content"));
  fileops::Replacement r;
  textops::FilePtr f =
      fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Recreate);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_TRUE(fileops::finishReplacement(r, true));
  EXPECT_EQ(readText(target), "new");
}

}  // namespace
