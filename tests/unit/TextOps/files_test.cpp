#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PlainOut.h"
#include "TestSupport.h"
#include "TextOps.h"

namespace {

using testsupport::makeTempDir;
using testsupport::writeText;

std::vector<std::string> linesOf(const std::string& path, size_t block) {
  std::vector<std::string> lines;
  textops::FilePtr f = textops::openRead(path.c_str());
  EXPECT_TRUE(f);
  textops::LineBlockReader reader;
  EXPECT_TRUE(textops::initLineReader(reader, f.get(), block));
  const char* begin;
  const char* end;
  while (textops::nextLineBlock(reader, begin, end)) {
    EXPECT_LT(begin, end) << "an empty block";
    while (begin < end) {
      const char* nl = static_cast<const char*>(std::memchr(begin, '\n', size_t(end - begin)));
      lines.emplace_back(begin, nl ? nl : end);
      begin = nl ? nl + 1 : end;
    }
  }
  EXPECT_FALSE(reader.failed);
  return lines;
}

// What std::getline gives, the reference for the line rules.
std::vector<std::string> referenceLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

TEST(LineBlocks, SameLinesAsGetlineForEveryBlockSize) {
  std::string dir = makeTempDir("lines");
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += std::string(size_t(i * 7919 % 97), char('a' + i % 26));
    text += (i % 5 == 0) ? "\r\n" : "\n";
    if (i % 400 == 0) text += std::string(20000, 'L') + "\n";  // longer than a block
    if (i % 333 == 0) text += "\n\n";
  }
  text += "last line without a line feed";
  std::string path = dir + "/t.txt";
  ASSERT_TRUE(writeText(path, text));
  std::vector<std::string> expected = referenceLines(text);
  for (size_t block : {size_t(1), size_t(4096), size_t(5000), size_t(1) << 20})
    EXPECT_TRUE(linesOf(path, block) == expected) << "block " << block;
}

TEST(LineBlocks, EmptyFileAndLoneLineFeeds) {
  std::string dir = makeTempDir("lines");
  ASSERT_TRUE(writeText(dir + "/empty", ""));
  EXPECT_TRUE(linesOf(dir + "/empty", 4096).empty());
  ASSERT_TRUE(writeText(dir + "/nl", "\n\n"));
  EXPECT_EQ(linesOf(dir + "/nl", 4096), (std::vector<std::string>{"", ""}));
  ASSERT_TRUE(writeText(dir + "/huge", std::string(300000, 'x')));
  std::vector<std::string> huge = linesOf(dir + "/huge", 4096);
  ASSERT_EQ(huge.size(), 1u);
  EXPECT_TRUE(huge[0] == std::string(300000, 'x')) << "length " << huge[0].size();
}

TEST(WholeFile, ReadsAllBytesAndReportsMissingFiles) {
  std::string dir = makeTempDir("whole");
  std::string bytes(100000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 31);
  ASSERT_TRUE(writeText(dir + "/b", bytes));
  textops::FileBytes fb;
  ASSERT_EQ(textops::readWholeFile((dir + "/b").c_str(), fb), fennick::Status::Ok);
  ASSERT_EQ(fb.size, bytes.size());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(fb.data.get()), fb.size), bytes);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(fb.data.get()) % textops::kPageSize, 0u);
  EXPECT_EQ(textops::readWholeFile((dir + "/missing").c_str(), fb), fennick::Status::OpenFailed);
  EXPECT_EQ(textops::readWholeFile(static_cast<const char*>(nullptr), fb), fennick::Status::OpenFailed);
  EXPECT_EQ(textops::readWholeFile(static_cast<std::FILE*>(nullptr), fb), fennick::Status::OpenFailed);
}

TEST(OutFileWriter, WritesSmallAndLargePiecesInOrder) {
  std::string dir = makeTempDir("out");
  std::string path = dir + "/o";
  textops::OutFile out;
  ASSERT_EQ(testsupport::openPlainOut(out, path, 4096), fennick::Status::Ok);
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    textops::put(out, "v ");
    textops::putG6(out, float(i / 7.0));
    textops::putChar(out, ' ');
    textops::putInt(out, -i);
    textops::putChar(out, '\n');
    char line[64];
    std::snprintf(line, sizeof line, "v %g %d\n", double(float(i / 7.0)), -i);
    expected += line;
    if (i % 500 == 0) {
      std::string big(10000, char('A' + i % 26));
      textops::put(out, big);
      expected += big;
    }
  }
  ASSERT_TRUE(textops::closeOut(out));
  EXPECT_EQ(testsupport::readText(path), expected);
  textops::OutFile bad;
  EXPECT_EQ(testsupport::openPlainOut(bad, dir + "/no/such/folder"),
            fennick::Status::CreateFailed);
}

}  // namespace
