#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "FennickDLL.h"
#include "TestSupport.h"

namespace {

using testsupport::readBytes;
using Bytes = std::vector<uint8_t>;

Bytes counting(size_t n, uint8_t start) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(start + i);
  return b;
}

class Merge : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("merge");
  std::string target = dir + "/target.bin";
  std::string other = dir + "/other.bin";
  float merge(const std::string& from) { return mergeFiles(from.c_str(), &target[0]); }
  // Names in the folder: nothing may be left beside the target.
  std::vector<std::string> entries() { return testsupport::namesIn(dir); }
};

TEST_F(Merge, BothFilesWithoutTheirLastFourteenBytes) {
  Bytes t = counting(100, 0), o = counting(50, 200);
  testsupport::writeBytes(target, t);
  testsupport::writeBytes(other, o);
  ASSERT_EQ(merge(other), 0.0f);
  Bytes expected(t.begin(), t.begin() + 86);
  expected.insert(expected.end(), o.begin(), o.begin() + 36);
  EXPECT_EQ(readBytes(target), expected);
  EXPECT_EQ(entries(), (std::vector<std::string>{"other.bin", "target.bin"}));
}

TEST_F(Merge, WithItself) {
  Bytes t = counting(40, 1);
  testsupport::writeBytes(target, t);
  ASSERT_EQ(merge(target), 0.0f);
  Bytes expected(t.begin(), t.begin() + 26);
  expected.insert(expected.end(), t.begin(), t.begin() + 26);
  EXPECT_EQ(readBytes(target), expected);
}

TEST_F(Merge, ShortFilesContributeNothing) {
  for (size_t otherSize : {0u, 1u, 13u, 14u}) {
    Bytes t = counting(30, 0);
    testsupport::writeBytes(target, t);
    testsupport::writeBytes(other, counting(otherSize, 100));
    ASSERT_EQ(merge(other), 0.0f);
    EXPECT_EQ(readBytes(target), Bytes(t.begin(), t.begin() + 16)) << otherSize;
  }
  for (size_t targetSize : {0u, 5u, 14u}) {
    Bytes o = counting(20, 50);
    testsupport::writeBytes(target, counting(targetSize, 0));
    testsupport::writeBytes(other, o);
    ASSERT_EQ(merge(other), 0.0f);
    EXPECT_EQ(readBytes(target), Bytes(o.begin(), o.begin() + 6)) << targetSize;
  }
}

TEST_F(Merge, FailuresKeepTheTarget) {
  Bytes t = counting(60, 3);
  testsupport::writeBytes(target, t);
  EXPECT_EQ(merge(dir + "/missing.bin"), -1760.0f);
  EXPECT_EQ(mergeFiles(nullptr, &target[0]), -1760.0f);
  EXPECT_EQ(readBytes(target), t);
  testsupport::writeBytes(other, counting(30, 0));
  EXPECT_EQ(mergeFiles(other.c_str(), nullptr), -2760.0f);
  std::string missing = dir + "/nothing.bin";
  EXPECT_EQ(mergeFiles(other.c_str(), &missing[0]), -2760.0f);
  EXPECT_EQ(entries(), (std::vector<std::string>{"other.bin", "target.bin"}));
  // Readable but not writable, even for root; nothing is created beside it.
  std::string proc = "/proc/version";
  Bytes before = readBytes(proc);
  if (!before.empty()) {
    EXPECT_EQ(mergeFiles(other.c_str(), &proc[0]), -3760.0f);
    EXPECT_EQ(readBytes(proc), before);
  }
}

}  // namespace

namespace {

TEST(MergeLinks, ASymbolicLinkStaysALink) {
  std::string dir = testsupport::makeTempDir("mergelink");
  std::string target = dir + "/t.bin", link = dir + "/link.bin", other = dir + "/o.bin";
  testsupport::writeBytes(target, Bytes(40, 7));
  testsupport::writeBytes(other, Bytes(40, 9));
  ASSERT_EQ(symlink("t.bin", link.c_str()), 0);
  ASSERT_EQ(mergeFiles(other.c_str(), &link[0]), 0.0f);
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  Bytes expected(26, 7);
  expected.insert(expected.end(), 26, 9);
  EXPECT_EQ(readBytes(target), expected);
}

TEST(MergeLinks, EveryHardLinkSeesTheMergedFile) {
  std::string dir = testsupport::makeTempDir("mergehard");
  std::string target = dir + "/t.bin", second = dir + "/second.bin", other = dir + "/o.bin";
  testsupport::writeBytes(target, Bytes(40, 7));
  testsupport::writeBytes(other, Bytes(40, 9));
  ASSERT_EQ(link(target.c_str(), second.c_str()), 0);
  struct stat before, after;
  ASSERT_EQ(stat(target.c_str(), &before), 0);
  ASSERT_EQ(mergeFiles(other.c_str(), &target[0]), 0.0f);
  Bytes expected(26, 7);
  expected.insert(expected.end(), 26, 9);
  EXPECT_EQ(readBytes(target), expected);
  EXPECT_EQ(readBytes(second), expected);
  ASSERT_EQ(stat(target.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);
}

TEST(MergePermissions, TheReplacedTargetKeepsItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another owner";
  std::string dir = testsupport::makeTempDir("mergeowner");
  std::string target = dir + "/t.bin", other = dir + "/o.bin";
  testsupport::writeBytes(target, Bytes(40, 7));
  testsupport::writeBytes(other, Bytes(40, 9));
  ASSERT_EQ(chown(target.c_str(), 4321, 4322), 0);
  ASSERT_EQ(chmod(target.c_str(), 0604), 0);
  ASSERT_EQ(mergeFiles(other.c_str(), &target[0]), 0.0f);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 4322u);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_EQ(readBytes(target).size(), 52u);
}

TEST(MergePermissions, TheReplacedTargetKeepsItsMode) {
  std::string dir = testsupport::makeTempDir("mergemode");
  std::string target = dir + "/t.bin", other = dir + "/o.bin";
  testsupport::writeBytes(target, Bytes(40, 7));
  testsupport::writeBytes(other, Bytes(40, 9));
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(mergeFiles(other.c_str(), &target[0]), 0.0f);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(readBytes(target).size(), 52u);
}

}  // namespace
