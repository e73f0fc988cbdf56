// FennickDLL's template sample, path name and folder functions, called
// under their C++ names as a program linked against the library calls them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Edition.h"
#include "TestSupport.h"

namespace {

// What `call` writes to standard output (through a pipe: small texts only).
template <class Call>
std::string standardOutputOf(Call call) {
  int ends[2];
  if (pipe(ends) != 0) return "<no pipe>";
  std::fflush(stdout);
  const int saved = dup(1);
  dup2(ends[1], 1);
  call();
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  close(ends[1]);
  std::string out;
  char buf[256];
  for (ssize_t n; (n = read(ends[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
  close(ends[0]);
  return out;
}

TEST(TemplateSample, HelloWorldWritesTheTextAndALineEnd) {
  // A member function that uses no member: called with any object address.
  using HelloWorld = void (*)(void*, const char*);
  auto hello = reinterpret_cast<HelloWorld>(dll().symbol(decorated::Mobrel01_HelloWorld));
  ASSERT_NE(hello, nullptr);
  char object = 0;
  EXPECT_EQ(standardOutputOf([&] { hello(&object, "Hello, world"); }), "Hello, world\n");
  EXPECT_EQ(standardOutputOf([&] { hello(&object, ""); }), "\n");
  EXPECT_EQ(standardOutputOf([&] { hello(&object, nullptr); }), "\n");
  EXPECT_EQ(standardOutputOf([&] { hello(&object, "a\nb\t%s"); }), "a\nb\t%s\n");  // no format
}

TEST(PathNameTable, EachModeGivesItsPart) {
  using Extract = std::string (*)(const std::string&, int);
  auto extract = reinterpret_cast<Extract>(
      dll().symbol(decorated::FileNameExtract));
  ASSERT_NE(extract, nullptr);
  const std::string path = "C:\\dir.d/file.tar.obj";
  EXPECT_EQ(extract(path, 1), "C:\\dir.d/");
  EXPECT_EQ(extract(path, 2), "file.tar");
  EXPECT_EQ(extract(path, 3), "C:\\dir.d/file.tar");
  EXPECT_EQ(extract(path, 4), ".obj");
  EXPECT_EQ(extract(path, 6), "file.tar.obj");
  for (int mode : {0, 5, 7, -1, 1000}) EXPECT_EQ(extract(path, mode), path) << mode;
  using Truncate = std::string (*)(const std::string&);
  auto truncate =
      reinterpret_cast<Truncate>(dll().symbol(decorated::FilepathTruncate));
  ASSERT_NE(truncate, nullptr);
  EXPECT_EQ(truncate(path), path);
}

TEST(PathNameTable, ClearFolderEmptiesByTheNameRule) {
  using Clear = bool (*)(std::string);
  auto clear = reinterpret_cast<Clear>(dll().symbol(decorated::ClearFolder));
  ASSERT_NE(clear, nullptr);
  const std::string dir = testsupport::makeTempDir("tclear");
  ASSERT_TRUE(testsupport::writeText(dir + "/a.txt", "a"));
  ASSERT_TRUE(testsupport::writeText(dir + "/README", "r"));
  EXPECT_TRUE(clear(dir));
  EXPECT_FALSE(testsupport::fileExists(dir + "/a.txt"));
  EXPECT_TRUE(testsupport::fileExists(dir + "/README"));
  EXPECT_FALSE(clear(dir + "/missing"));
  EXPECT_FALSE(clear(""));
}

}  // namespace
