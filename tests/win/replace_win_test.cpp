// FileOps' file replacement on Windows, linked in directly: the new file
// beside the target takes its name only when complete, an input is never
// the target, and a read-only file or a folder is not replaced.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "FileOps.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::readText;
using testsupport::writeAndClose;
using testsupport::writeText;

TEST(WinReplace, TheNewFileTakesTheNameOnlyWhenComplete) {
  const std::string dir = testsupport::makeTempDir("winbeside");
  const std::string target = dir + "\\t.bin";
  ASSERT_TRUE(writeText(target, "old contents"));
  ASSERT_TRUE(writeText(target + ".new0", "someone's file"));
  fileops::Replacement r;
  textops::FilePtr f;
  ASSERT_EQ(fileops::openReplacement(r, f, target.c_str(), fileops::OutputRules()),
            fennick::Status::Ok);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileops::finishReplacement(r, false));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileExists(target + ".new1"));

  ASSERT_EQ(fileops::openReplacement(r, f, target.c_str(), fileops::OutputRules()),
            fennick::Status::Ok);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_TRUE(fileops::finishReplacement(r, true));  // over the existing file
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(readText(target + ".new0"), "someone's file");
  EXPECT_FALSE(fileExists(target + ".new1"));

  // A new target, and an Output never closed (nothing made).
  {
    fileops::Output o;
    ASSERT_EQ(fileops::openOutput(o, (dir + "\\fresh.bin").c_str(), fileops::OutputRules()),
              fennick::Status::Ok);
    textops::put(o.out, "unfinished");
  }
  EXPECT_FALSE(fileExists(dir + "\\fresh.bin"));
  EXPECT_FALSE(fileExists(dir + "\\fresh.bin.new0"));
  fileops::Output o;
  ASSERT_EQ(fileops::openOutput(o, (dir + "\\fresh.bin").c_str(), fileops::OutputRules()),
            fennick::Status::Ok);
  textops::put(o.out, "fresh");
  EXPECT_TRUE(fileops::closeOutput(o));
  EXPECT_EQ(readText(dir + "\\fresh.bin"), "fresh");
  testsupport::removeTree(dir);
}

TEST(WinReplace, NoFolderNoReadOnlyFileNoInput) {
  const std::string dir = testsupport::makeTempDir("winrefused");
  fileops::Replacement r;
  textops::FilePtr f;
  EXPECT_EQ(fileops::openReplacement(r, f, dir.c_str(), fileops::OutputRules()),
            fennick::Status::CreateFailed);
  EXPECT_FALSE(fileExists(dir + ".new0"));
  const std::string locked = dir + "\\locked.bin";
  ASSERT_TRUE(writeText(locked, "kept"));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(fileops::openReplacement(r, f, locked.c_str(), fileops::OutputRules()),
            fennick::Status::CreateFailed);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(readText(locked), "kept");
  // The input as opened, by its volume and file index.
  const std::string input = dir + "\\in.obj";
  ASSERT_TRUE(writeText(input, "v 1 2 3\n"));
  textops::FilePtr in = textops::openRead(input.c_str());
  ASSERT_TRUE(in);
  const fileops::OneInput from(in.get());
  EXPECT_EQ(fileops::openReplacement(r, f, input.c_str(), from.rules),
            fennick::Status::OutputIsInput);
  in.reset();
  EXPECT_EQ(readText(input), "v 1 2 3\n");
  EXPECT_FALSE(fileExists(input + ".new0"));
  testsupport::removeTree(dir);
}

}  // namespace
