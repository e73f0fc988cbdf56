#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "WinEdition.h"

namespace {

using testsupport::fileExists;
using testsupport::readBytes;
using testsupport::readText;
using testsupport::writeBytes;
using testsupport::writeText;

std::multiset<std::string> listing(const std::string& dir, float* openResult = nullptr) {
  std::multiset<std::string> names;
  float r = dll02().call("OpenFolder", dir.c_str());
  if (openResult) *openResult = r;
  if (r != 0.0f) return names;
  std::vector<char> block(300, '#');
  while (dll02().call("GetFile", nullptr, 0, block.data()) == 0.0f) names.insert(block.data());
  EXPECT_EQ(dll02().call("CloseFolder"), 0.0f);
  return names;
}

// The folder spelled with "\." steps (and a final '\' if needed) to exactly
// n characters; it names the same folder.
std::string spelledAtLength(const std::string& dir, size_t n) {
  std::string s = dir;
  while (s.size() + 2 <= n) s += "\\.";
  if (s.size() < n) s += "\\";
  return s;
}

class WinFolder : public ::testing::Test {
 protected:
  std::string dir;
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  void SetUp() override {
    // Wine reuses process ids: the folder name carries the time as well.
    static int serial = 0;
    dir = testsupport::makeTempDir("wf" + std::to_string(GetTickCount64()) + "_" +
                                   std::to_string(++serial));
    ASSERT_TRUE(writeText(dir + "\\a.txt", "a"));
    ASSERT_TRUE(writeText(dir + "\\README", "r"));
    ASSERT_TRUE(writeText(dir + "\\b.tar.gz", "b"));
    ASSERT_TRUE(CreateDirectoryA((dir + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(writeText(dir + "\\sub\\inner.txt", "i"));
  }
};

TEST_F(WinFolder, ListsTheSameWithAndWithoutTrailingSeparator) {
  const std::multiset<std::string> expected = {".", "..", "README", "a.txt", "b.tar.gz", "sub"};
  EXPECT_EQ(listing(dir), expected);
  EXPECT_EQ(listing(dir + "\\"), expected);
  EXPECT_EQ(listing(dir + "/"), expected);
  float r = 0;
  listing(dir + "\\a.txt", &r);
  EXPECT_EQ(r, -1.0f);
  listing(dir + "\\missing", &r);
  EXPECT_EQ(r, -1.0f);
  listing("", &r);
  EXPECT_EQ(r, -1.0f);
  EXPECT_EQ(dll02().call("OpenFolder", nullptr), -1.0f);
  EXPECT_EQ(dll02().call("GetFile", nullptr, 0, nullptr), -1.0f);
  EXPECT_EQ(dll02().call("CheckFolder", dir.c_str()), 0.0f);
  std::vector<char> block(300, '#');
  EXPECT_EQ(dll02().call("GetFile", nullptr, 0, block.data()), -1.0f);
  EXPECT_EQ(block[0], '#');
}

TEST_F(WinFolder, PathsOf260CharactersOrMoreAreRefused) {
  ASSERT_LT(dir.size(), 200u);
  float r = 0;
  EXPECT_EQ(listing(spelledAtLength(dir, 259), &r).count("README"), 1u);
  EXPECT_EQ(r, 0.0f);
  listing(spelledAtLength(dir, 260), &r);
  EXPECT_EQ(r, -1.0f);
  listing(spelledAtLength(dir, 400), &r);
  EXPECT_EQ(r, -1.0f);
  EXPECT_EQ(dll02().call("CheckFolder", spelledAtLength(dir, 259).c_str()), 0.0f);
  EXPECT_EQ(dll02().call("CheckFolder", spelledAtLength(dir, 260).c_str()), -1.0f);
}

TEST_F(WinFolder, EmptyFolderDeletesNamesWithADot) {
  EXPECT_EQ(dll02().call("EmptyFolder", dir.c_str()), 0.0f);
  EXPECT_EQ(listing(dir), (std::multiset<std::string>{".", "..", "README", "sub"}));
  EXPECT_TRUE(fileExists(dir + "\\sub\\inner.txt"));
  ASSERT_TRUE(writeText(dir + "\\c.obj", "c"));
  EXPECT_EQ(dll02().call("EmptyFolder", (dir + "/").c_str()), 0.0f);  // '\' appended after '/'
  EXPECT_FALSE(fileExists(dir + "\\c.obj"));
  EXPECT_EQ(dll02().call("EmptyFolder", (dir + "\\README").c_str()), -1.0f);
  EXPECT_EQ(dll02().call("EmptyFolder", (dir + "\\missing").c_str()), -1.0f);
  EXPECT_EQ(dll02().call("EmptyFolder", nullptr), -1.0f);
  EXPECT_EQ(dll02().call("EmptyFolder", ""), -1.0f);
}

TEST_F(WinFolder, EmptyFolderPathLimitOfTheBuild) {
  // The path with its separator: at most 256 characters in the 32-bit build
  // (narrow stream), under 260 in the 64-bit build (wide stream).
#if defined(_WIN64)
  const size_t longest = 258;
#else
  const size_t longest = 255;
#endif
  // No final separator: "\sub\.." evens out the length where needed.
  std::string ok = dir;
  if ((longest - ok.size()) % 2) ok += "\\sub\\..";
  while (ok.size() + 2 <= longest) ok += "\\.";
  ASSERT_EQ(ok.size(), longest);
  ASSERT_TRUE(writeText(dir + "\\x.txt", "x"));
  EXPECT_EQ(dll02().call("EmptyFolder", (ok + "x").c_str()), -1.0f);  // one more
  EXPECT_TRUE(fileExists(dir + "\\x.txt"));
  // Opened and walked; the joined entry paths pass 260 characters here, so
  // the system's remove refuses them, silently.
  EXPECT_EQ(dll02().call("EmptyFolder", ok.c_str()), 0.0f);
  EXPECT_TRUE(fileExists(dir + "\\README"));
}

TEST_F(WinFolder, UnrepresentableNameArrivesAsAlternateNameOrQuestionMark) {
  const wchar_t wide[] = L"\u4E2D\u6587\u540D\u5B57\u957F\u957F.txt";
  BOOL usedDefault = FALSE;
  char probe[64];
  if (GetACP() == CP_UTF8 ||
      (WideCharToMultiByte(CP_ACP, 0, wide, -1, probe, sizeof probe, nullptr, &usedDefault) > 0 &&
       !usedDefault))
    GTEST_SKIP() << "the code page holds the characters";
  std::wstring wdir(dir.begin(), dir.end());
  HANDLE h = CreateFileW((wdir + L"\\" + wide).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  WIN32_FIND_DATAW data;
  HANDLE f = FindFirstFileW((wdir + L"\\" + wide).c_str(), &data);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  FindClose(f);
  std::string expected = "?";
  if (data.cAlternateFileName[0]) {
    char alt[32];
    WideCharToMultiByte(CP_ACP, 0, data.cAlternateFileName, -1, alt, sizeof alt, nullptr, nullptr);
    expected = alt;
  }
  std::multiset<std::string> names = listing(dir);
  EXPECT_EQ(names.count(expected), 1u) << "expected " << expected;
  EXPECT_EQ(names.size(), 7u);
}

TEST_F(WinFolder, CopyAndDelete) {
  std::vector<uint8_t> bytes(8001);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
  for (size_t n : {size_t(0), size_t(4000), size_t(4001), size_t(8001)}) {
    std::vector<uint8_t> src(bytes.begin(), bytes.begin() + n);
    ASSERT_TRUE(writeBytes(dir + "\\src.bin", src));
    std::string dst = dir + "\\dst.bin";
    EXPECT_EQ(dll02().call("FileCopyTo", (dir + "\\src.bin").c_str(), 0, &dst[0]), 0.0f);
    EXPECT_EQ(readBytes(dir + "\\dst.bin"), src) << n;
  }
  // A failed copy keeps the destination; a copy onto itself keeps the file.
  std::string dst = dir + "\\dst.bin";
  EXPECT_EQ(dll02().call("FileCopyTo", (dir + "\\missing").c_str(), 0, &dst[0]), -1.0f);
  EXPECT_EQ(readBytes(dst), bytes);
  std::string other = dir + "\\.\\DST.BIN";
  EXPECT_EQ(dll02().call("FileCopyTo", dst.c_str(), 0, &other[0]), 0.0f);
  EXPECT_EQ(readBytes(dst), bytes);
  std::string slash = dir + "/dst.bin";
  EXPECT_EQ(dll02().call("FileCopyTo", dst.c_str(), 0, &slash[0]), 0.0f);
  EXPECT_EQ(readBytes(dst), bytes);
  EXPECT_EQ(dll02().call("FileDelete", dst.c_str()), 0.0f);
  EXPECT_EQ(dll02().call("FileDelete", dst.c_str()), -1.0f);
  EXPECT_EQ(dll02().call("FileDelete", nullptr), -1.0f);
  EXPECT_EQ(dll02().fn("FileRename"), nullptr);
}

TEST_F(WinFolder, CompressionRoundTrips) {
  std::vector<uint8_t> in;
  for (int i = 0; i < 300000; ++i) {
    if (i % 3 == 0) in.insert(in.end(), i % 700, static_cast<uint8_t>(i));
    in.push_back(static_cast<uint8_t>(i * 7));
  }
  ASSERT_TRUE(writeBytes(dir + "\\in.bin", in));
  std::string c = dir + "\\in.rle", back = dir + "\\back.bin";
  float ratio = dll02().call("CompressFile", (dir + "\\in.bin").c_str(), 0, &c[0]);
  EXPECT_GT(ratio, 0.0f);
  volatile float outSize = static_cast<float>(readBytes(c).size());
  volatile float inSize = static_cast<float>(in.size());
  volatile float expected = outSize / inSize;
  EXPECT_EQ(ratio, expected);
  EXPECT_EQ(dll02().call("DecompressFile", c.c_str(), 0, &back[0]), 0.0f);
  EXPECT_EQ(readBytes(back), in);
  ASSERT_TRUE(writeBytes(dir + "\\aaab", {'A', 'A', 'A', 'B', '\r', '\n'}));
  EXPECT_EQ(dll02().call("CompressFile", (dir + "\\aaab").c_str(), 0, &c[0]), 8.0f / 6.0f);  // folded: exact float
  EXPECT_EQ(readBytes(c), (std::vector<uint8_t>{3, 'A', 1, 'B', 1, '\r', 1, '\n'}));
  ASSERT_TRUE(writeBytes(dir + "\\empty", {}));
  EXPECT_TRUE(std::isnan(dll02().call("CompressFile", (dir + "\\empty").c_str(), 0, &c[0])));
  // Failures: input missing (no output), output naming the input.
  std::string fresh = dir + "\\fresh.rle";
  EXPECT_EQ(dll02().call("CompressFile", (dir + "\\missing").c_str(), 0, &fresh[0]), -1.0f);
  EXPECT_FALSE(fileExists(fresh));
  std::string self = dir + "\\.\\AAAB";
  EXPECT_EQ(dll02().call("CompressFile", (dir + "\\aaab").c_str(), 0, &self[0]), -3.0f);
  EXPECT_EQ(dll02().call("DecompressFile", (dir + "\\aaab").c_str(), 0, &self[0]), -3.0f);
  EXPECT_EQ(readText(dir + "\\aaab"), "AAAB\r\n");
  EXPECT_EQ(dll02().call("DecompressFile", nullptr, 0, &fresh[0]), -9.0f);
}

// The output check of the Windows build compares volume serial numbers and
// file indices: a hard link, an 8.3 name and another case of the same file
// are the input, and no call writes over it.
TEST_F(WinFolder, AnOutputThatIsTheInputByAnyNameIsRefused) {
  const std::string in = dir + "\\a longer name.data";
  const std::string text = "AAAB\r\n";
  ASSERT_TRUE(writeText(in, text));
  ASSERT_TRUE(CreateHardLinkA((dir + "\\hard.bin").c_str(), in.c_str(), nullptr));
  std::vector<std::string> names = {dir + "\\hard.bin", dir + "\\A LONGER NAME.DATA"};
  char shortName[MAX_PATH];
  const DWORD n = GetShortPathNameA(in.c_str(), shortName, MAX_PATH);
  if (n > 0 && n < MAX_PATH && in != shortName) names.push_back(shortName);
  for (const std::string& name : names) {
    for (const auto& [input, output] : {std::pair{in, name}, std::pair{name, in}}) {
      std::string block = output;
      EXPECT_EQ(dll02().call("FileCopyTo", input.c_str(), 0, &block[0]), 0.0f) << output;
      EXPECT_EQ(dll02().call("CompressFile", input.c_str(), 0, &block[0]), -3.0f) << output;
      EXPECT_EQ(dll02().call("DecompressFile", input.c_str(), 0, &block[0]), -3.0f) << output;
      EXPECT_EQ(readText(in), text) << output;
    }
  }
}

// The system's remove deletes files only: a sub-folder stays, whatever its
// name holds.
TEST_F(WinFolder, EmptyFolderKeepsSubFoldersWithADot) {
  ASSERT_TRUE(CreateDirectoryA((dir + "\\empty.d").c_str(), nullptr));
  EXPECT_EQ(dll02().call("EmptyFolder", dir.c_str()), 0.0f);
  EXPECT_EQ(listing(dir), (std::multiset<std::string>{".", "..", "README", "empty.d", "sub"}));
}

TEST(WinNameSet, WorkedSequence) {
  auto check = [](const char* name) {
    char block[64] = {};
    EXPECT_EQ(dll02().call("CheckName", name, 0, block), 0.0f);
    return std::string(block);
  };
  EXPECT_EQ(dll02().call("ClearNameSet"), 0.0f);
  EXPECT_EQ(check("Box"), "Box");
  EXPECT_EQ(check("Box"), "Box_copy1");
  EXPECT_EQ(check("Box"), "Box_copy2");
  EXPECT_EQ(check("Box_copy1"), "Box_copy3");
  EXPECT_EQ(check("Box_copy7"), "Box_copy7");
  EXPECT_EQ(check("Box_copy7"), "Box_copy4");
  EXPECT_EQ(dll02().call("ClearNameSet"), 0.0f);
  EXPECT_EQ(check("Box_copy1"), "Box_copy1");
  EXPECT_EQ(dll02().call("CheckName", nullptr, 0, nullptr), -9.0f);
}

}  // namespace
