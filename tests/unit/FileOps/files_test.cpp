#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "DirStream.h"
#include "FileOps.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::readBytes;
using testsupport::writeBytes;
using testsupport::writeText;
using fennick::Status;
using fileops::clearFolder;

std::vector<uint8_t> patternBytes(size_t n) {
  std::vector<uint8_t> b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 131 + (i >> 9)) & 0xFF);
  return b;
}

std::set<std::string> listAll(const std::string& dir) {
  std::set<std::string> names;
  fileops::DirStream* s = nullptr;
  EXPECT_EQ(fileops::openDirStream(dir.c_str(), s), fennick::Status::Ok);
  EXPECT_NE(s, nullptr);
  while (const char* name = fileops::readDirStream(s)) names.insert(name);
  EXPECT_EQ(fileops::readDirStream(s), nullptr);  // stays at the end
  fileops::closeDirStream(s);
  return names;
}

TEST(NamesFileByDot, NameRule) {
  using fileops::namesFileByDot;
  EXPECT_TRUE(namesFileByDot("dir/a.txt"));
  EXPECT_TRUE(namesFileByDot("dir/b.tar.gz"));
  EXPECT_TRUE(namesFileByDot("x."));
  EXPECT_TRUE(namesFileByDot(".hidden"));
  EXPECT_FALSE(namesFileByDot("dir/README"));
  EXPECT_FALSE(namesFileByDot("a.b/sub"));  // the dot of the folder does not count
  EXPECT_FALSE(namesFileByDot("a.b\\sub"));
  EXPECT_FALSE(namesFileByDot("dir/"));
  EXPECT_FALSE(namesFileByDot("README"));
  EXPECT_FALSE(namesFileByDot(""));
}

TEST(DirStream, ListsEveryEntryWithTheDotEntries) {
  std::string dir = testsupport::makeTempDir("ds");
  ASSERT_TRUE(writeText(dir + "/a.txt", "a"));
  ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
  EXPECT_EQ(listAll(dir), (std::set<std::string>{".", "..", "a.txt", "sub"}));
  EXPECT_EQ(listAll(dir + "/"), listAll(dir));
}

TEST(DirStream, RefusesWhatIsNoFolder) {
  std::string dir = testsupport::makeTempDir("ds");
  ASSERT_TRUE(writeText(dir + "/f.txt", "x"));
  for (const char* path : {static_cast<const char*>(nullptr), "", "/f.txt", "/missing"}) {
    const std::string full = path && *path ? dir + path : std::string();
    fileops::DirStream* s = reinterpret_cast<fileops::DirStream*>(&dir);  // must be reset
    EXPECT_EQ(fileops::openDirStream(path && *path ? full.c_str() : path, s),
              fennick::Status::OpenFailed);
    EXPECT_EQ(s, nullptr);
  }
  EXPECT_EQ(fileops::readDirStream(nullptr), nullptr);
  fileops::closeDirStream(nullptr);
}

class ClearFolderTest : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override {
    dir = testsupport::makeTempDir("clear");
    ASSERT_TRUE(writeText(dir + "/a.txt", "a"));
    ASSERT_TRUE(writeText(dir + "/README", "r"));
    ASSERT_TRUE(writeText(dir + "/b.tar.gz", "b"));
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    ASSERT_TRUE(writeText(dir + "/sub/inner.txt", "i"));
  }
  std::set<std::string> left() {
    std::set<std::string> names = listAll(dir);
    names.erase(".");
    names.erase("..");
    return names;
  }
};

TEST_F(ClearFolderTest, DeletesNamesWithADotOnly) {
  EXPECT_EQ(Status::Ok, clearFolder(dir));
  EXPECT_EQ(left(), (std::set<std::string>{"README", "sub"}));
  EXPECT_TRUE(fileExists(dir + "/sub/inner.txt"));  // one level only
}

TEST_F(ClearFolderTest, TrailingSeparatorActsAlike) {
  std::string path = dir + "/";
  EXPECT_EQ(Status::Ok, clearFolder(path));
  EXPECT_EQ(path, dir + "/");  // taken by value
  EXPECT_EQ(left(), (std::set<std::string>{"README", "sub"}));
}

TEST_F(ClearFolderTest, EmptySubFolderWithADotGoesAsRemoveDoes) {
  ASSERT_EQ(mkdir((dir + "/empty.d").c_str(), 0700), 0);
  ASSERT_EQ(mkdir((dir + "/full.d").c_str(), 0700), 0);
  ASSERT_TRUE(writeText(dir + "/full.d/x", "x"));
  EXPECT_EQ(Status::Ok, clearFolder(dir));
  EXPECT_EQ(left(), (std::set<std::string>{"README", "full.d", "sub"}));
}

TEST_F(ClearFolderTest, EveryEntryIsLookedAtWhereverTheDotEntriesCome) {
  // Many files: the dot entries land somewhere in the middle on ext4.
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(writeText(dir + "/f" + std::to_string(i) + ".x", ""));
  EXPECT_EQ(Status::Ok, clearFolder(dir));
  EXPECT_EQ(left(), (std::set<std::string>{"README", "sub"}));
}

TEST_F(ClearFolderTest, LongNamesAreJoinedWhole) {
  // Joined paths past 255 characters: the whole name is deleted, and a
  // cut name never hits another file.
  std::string longName(200, 'n');
  std::string nested = dir + "/" + std::string(120, 'd');
  ASSERT_EQ(mkdir(nested.c_str(), 0700), 0);
  ASSERT_TRUE(writeText(nested + "/" + longName + ".txt", "x"));
  ASSERT_TRUE(writeText(nested + "/" + longName, "keep"));  // what a cut path would name
  EXPECT_EQ(Status::Ok, clearFolder(nested));
  EXPECT_FALSE(fileExists(nested + "/" + longName + ".txt"));
  EXPECT_TRUE(fileExists(nested + "/" + longName));
}

TEST(ClearFolderFn, RefusesWhatIsNoFolder) {
  std::string dir = testsupport::makeTempDir("clear");
  ASSERT_TRUE(writeText(dir + "/f.txt", "x"));
  EXPECT_EQ(Status::OpenFailed, clearFolder(dir + "/f.txt"));
  EXPECT_EQ(Status::OpenFailed, clearFolder(dir + "/missing"));
  EXPECT_EQ(Status::OpenFailed, clearFolder(""));  // would be the root
  EXPECT_TRUE(fileExists(dir + "/f.txt"));
}

class CopyFileTest : public ::testing::Test {
 protected:
  std::string dir;
  void SetUp() override { dir = testsupport::makeTempDir("copy"); }
  std::string p(const char* name) { return dir + "/" + name; }
};

TEST_F(CopyFileTest, ByteExactAcrossBlockSizes) {
  for (size_t n : {size_t(0), size_t(1), size_t(3999), size_t(4000), size_t(4001), size_t(8000),
                   size_t(8001), size_t(1) << 20, (size_t(1) << 20) + 1, size_t(3) << 20}) {
    std::vector<uint8_t> bytes = patternBytes(n);
    ASSERT_TRUE(writeBytes(p("src"), bytes));
    ASSERT_TRUE(writeText(p("dst"), std::string(n + 10, 'z')));  // longer: emptied first
    EXPECT_EQ(fileops::copyFile(p("src").c_str(), p("dst").c_str()), Status::Ok) << n;
    EXPECT_EQ(readBytes(p("dst")), bytes) << n;
  }
}

TEST_F(CopyFileTest, FailedSourceLeavesTheDestination) {
  ASSERT_TRUE(writeText(p("dst"), "precious"));
  EXPECT_EQ(fileops::copyFile(p("missing").c_str(), p("dst").c_str()), Status::OpenFailed);
  EXPECT_EQ(testsupport::readText(p("dst")), "precious");
  ASSERT_EQ(mkdir(p("folder").c_str(), 0700), 0);
  EXPECT_EQ(fileops::copyFile(p("folder").c_str(), p("dst").c_str()), Status::OpenFailed);
  EXPECT_EQ(testsupport::readText(p("dst")), "precious");
  EXPECT_EQ(fileops::copyFile(nullptr, p("dst").c_str()), Status::NullArgument);
  EXPECT_EQ(fileops::copyFile(p("dst").c_str(), nullptr), Status::NullArgument);
  EXPECT_EQ(testsupport::readText(p("dst")), "precious");
}

TEST_F(CopyFileTest, SameFileByAnySpellingStaysIntact) {
  ASSERT_TRUE(writeText(p("f.txt"), "keep me"));
  ASSERT_EQ(mkdir(p("sub").c_str(), 0700), 0);
  ASSERT_EQ(symlink(p("f.txt").c_str(), p("link").c_str()), 0);
  ASSERT_EQ(link(p("f.txt").c_str(), p("hard").c_str()), 0);
  const std::string spellings[] = {p("f.txt"), dir + "/./f.txt", dir + "/sub/../f.txt",
                                   p("link"), p("hard")};
  for (const std::string& other : spellings) {
    EXPECT_EQ(fileops::copyFile(p("f.txt").c_str(), other.c_str()), Status::OutputIsInput) << other;
    EXPECT_EQ(fileops::copyFile(other.c_str(), p("f.txt").c_str()), Status::OutputIsInput) << other;
    EXPECT_EQ(testsupport::readText(p("f.txt")), "keep me") << other;
  }
}

TEST_F(CopyFileTest, FolderAsDestinationIsRefused) {
  ASSERT_TRUE(writeText(p("f.txt"), "x"));
  ASSERT_EQ(mkdir(p("empty").c_str(), 0700), 0);
  EXPECT_EQ(fileops::copyFile(p("f.txt").c_str(), p("empty").c_str()), Status::CreateFailed);
  struct stat st;
  ASSERT_EQ(stat(p("empty").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(CopyFileTest, UnwritableDestinationFails) {
  ASSERT_TRUE(writeText(p("f.txt"), "x"));
  EXPECT_EQ(fileops::copyFile(p("f.txt").c_str(), p("no/such/dir/f").c_str()), Status::CreateFailed);
  EXPECT_TRUE(fileExists(p("f.txt")));
}

TEST(FileIdentity, TellsFilesApart) {
  std::string dir = testsupport::makeTempDir("id");
  ASSERT_TRUE(writeText(dir + "/a", "a"));
  ASSERT_TRUE(writeText(dir + "/b", "b"));
  fileops::FileIdentity a = fileops::identityOf((dir + "/a").c_str());
  EXPECT_TRUE(a.known);
  EXPECT_FALSE(a.folder);
  EXPECT_FALSE(fileops::sameFile(a, fileops::identityOf((dir + "/b").c_str())));
  EXPECT_FALSE(fileops::identityOf((dir + "/none").c_str()).known);
  EXPECT_FALSE(fileops::sameFile(fileops::FileIdentity(), fileops::FileIdentity()));
  EXPECT_TRUE(fileops::identityOf(dir.c_str()).folder);
}

}  // namespace
