#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "FileOps.h"
#include "PlainOut.h"
#include "TestSupport.h"
#include "TextOps.h"

namespace {

using testsupport::makeTempDir;
using testsupport::readText;

TEST(OutFileOpen, WithoutMemoryNoFileIsTouched) {
  std::string dir = makeTempDir("outopen");
  std::string kept = dir + "/kept", fresh = dir + "/fresh";
  ASSERT_TRUE(testsupport::writeText(kept, "kept"));
  {
    // A block no allocation can give.
    fileops::Output o;
    EXPECT_EQ(fileops::openOutput(o, kept.c_str(), fileops::OutputRules(), SIZE_MAX),
              fennick::Status::NoMemory);
    EXPECT_EQ(fileops::openOutput(o, fresh.c_str(), fileops::OutputRules(), SIZE_MAX),
              fennick::Status::NoMemory);
    EXPECT_FALSE(fileops::closeOutput(o));
    EXPECT_EQ(fileops::openOutput(o, (dir + "/none/f").c_str(), fileops::OutputRules()),
              fennick::Status::CreateFailed);
    EXPECT_EQ(fileops::openOutput(o, nullptr, fileops::OutputRules()),
              fennick::Status::CreateFailed);
    EXPECT_FALSE(fileops::closeOutput(o));
  }
  EXPECT_EQ(readText(kept), "kept");
  EXPECT_EQ(testsupport::namesIn(dir), std::vector<std::string>{"kept"});
  testsupport::removeTree(dir);
}

// Pieces through the buffer, past it straight to the file, and written in
// place: all counted, all in order.
TEST(OutFileWriter, CountsEveryByteWhereverItGoes) {
  std::string path = makeTempDir("outcount") + "/o";
  textops::OutFile out;
  ASSERT_EQ(testsupport::openPlainOut(out, path, 4096), fennick::Status::Ok);
  EXPECT_EQ(textops::roomLeft(out), 4096u);
  textops::put(out, "abc");
  const std::string big(10000, 'x');
  textops::put(out, big);
  EXPECT_EQ(textops::bytesPut(out), 10003u);
  textops::putChar(out, '-');
  // More room than the buffer has: it is flushed and wholly free.
  char* at = textops::room(out, 5000);
  EXPECT_EQ(textops::roomLeft(out), 4096u);
  std::memcpy(at, "yz", 2);
  textops::advance(out, at + 2);
  EXPECT_EQ(textops::roomLeft(out), 4094u);
  EXPECT_EQ(textops::bytesPut(out), 10006u);
  EXPECT_FALSE(textops::outFailed(out));
  ASSERT_TRUE(textops::closeOut(out));
  EXPECT_EQ(readText(path), "abc" + big + "-yz");
}

// The same pieces into memory: the same bytes, in order, and the target
// emptied first.
TEST(OutFileWriter, MemoryTargetGetsTheSameBytes) {
  std::string bytes = "old";
  textops::OutFile out;
  ASSERT_EQ(textops::openOutMemory(out, bytes, 4096), fennick::Status::Ok);
  EXPECT_TRUE(bytes.empty());
  textops::put(out, "abc");
  const std::string big(10000, 'x');
  textops::put(out, big);
  textops::putChar(out, '-');
  char* at = textops::room(out, 5000);
  std::memcpy(at, "yz", 2);
  textops::advance(out, at + 2);
  EXPECT_EQ(textops::bytesPut(out), 10006u);
  ASSERT_TRUE(textops::closeOut(out));
  EXPECT_EQ(bytes, "abc" + big + "-yz");
  // Closed: a second close has nothing open.
  EXPECT_FALSE(textops::closeOut(out));
}

}  // namespace
