#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "FileOps.h"
#include "TestSupport.h"

namespace {

using testsupport::namesIn;
using testsupport::readText;
using testsupport::writeAndClose;
using testsupport::writeText;

TEST(ReplaceBeside, TheFileKeepsItsContentsUntilTheNewOnesAreComplete) {
  std::string dir = testsupport::makeTempDir("beside");
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(writeText(target, "old contents"));
  fileops::Replacement r;
  textops::FilePtr f = fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Beside);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_FALSE(fileops::finishReplacement(r, false));  // the writing failed
  EXPECT_EQ(readText(target), "old contents");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"t.bin"});

  f = fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Beside);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_TRUE(fileops::finishReplacement(r, true));
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"t.bin"});
}

TEST(ReplaceBeside, AFileWithTheNameOfTheNewOneIsLeftAlone) {
  std::string dir = testsupport::makeTempDir("besideclash");
  std::string target = dir + "/t.bin";
  ASSERT_TRUE(writeText(target, "old"));
  ASSERT_TRUE(writeText(target + ".new0", "someone's file"));
  fileops::Replacement r;
  textops::FilePtr f = fileops::openReplacement(r, target.c_str(), fileops::ReplaceWay::Beside);
  ASSERT_TRUE(f);
  ASSERT_TRUE(writeAndClose(f.release(), "new"));
  EXPECT_TRUE(fileops::finishReplacement(r, true));
  EXPECT_EQ(readText(target), "new");
  EXPECT_EQ(readText(target + ".new0"), "someone's file");
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"t.bin", "t.bin.new0"}));
}

TEST(ReplaceRecreate, ASymbolicLinkIsReplacedNotFollowed) {
  std::string dir = testsupport::makeTempDir("recreate");
  ASSERT_TRUE(writeText(dir + "/src", "copied"));
  ASSERT_TRUE(writeText(dir + "/named", "named by the link"));
  ASSERT_EQ(symlink("named", (dir + "/link").c_str()), 0);
  EXPECT_EQ(fileops::copyFile((dir + "/src").c_str(), (dir + "/link").c_str()), 0);
  struct stat st;
  ASSERT_EQ(lstat((dir + "/link").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(readText(dir + "/link"), "copied");
  EXPECT_EQ(readText(dir + "/named"), "named by the link");
}

TEST(RewriteTail, OnlyTheFileAsItWasRead) {
  std::string dir = testsupport::makeTempDir("tail");
  std::string path = dir + "/t.bin", other = dir + "/o.bin";
  const std::string old = "0123456789abcdefghij";
  ASSERT_TRUE(writeText(path, old));
  ASSERT_TRUE(writeText(other, old));
  const auto* bytes = reinterpret_cast<const unsigned char*>(old.data());
  const auto* tail = reinterpret_cast<const unsigned char*>("XYZ");
  const fileops::FileIdentity asRead = fileops::identityOf(path.c_str());
  // Another file, or this one at another length than the contents read.
  EXPECT_FALSE(fileops::rewriteTail(path.c_str(), fileops::identityOf(other.c_str()), bytes,
                                    old.size(), 5, tail, 3));
  EXPECT_FALSE(fileops::rewriteTail(path.c_str(), asRead, bytes, old.size() - 1, 5, tail, 3));
  EXPECT_EQ(readText(path), old);
  ASSERT_TRUE(fileops::rewriteTail(path.c_str(), asRead, bytes, old.size(), 5, tail, 3));
  EXPECT_EQ(readText(path), "01234XYZ");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(uint64_t(st.st_ino), asRead.index);  // the same file, not a new one
}

}  // namespace
