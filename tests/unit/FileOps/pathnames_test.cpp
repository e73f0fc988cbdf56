#include <gtest/gtest.h>
#include <utility>

#include "FileOps.h"

namespace {

using Part = std::string (*)(const std::string&);

struct Case {
  const char* path;
  Part part;
  const char* expected;
};

TEST(PathNames, PartsOfTypicalAndOddPaths) {
  using namespace fileops;
  const Case cases[] = {
      {"C:\\dir\\file.obj", folderPart, "C:\\dir\\"},
      {"C:\\dir\\file.obj", fileNameWithoutExtension, "file"},
      {"C:\\dir\\file.obj", cutAtLastDot, "C:\\dir\\file"},
      {"C:\\dir\\file.obj", fromLastDot, ".obj"},
      {"C:\\dir\\file.obj", fileName, "file.obj"},
      {"file", folderPart, ""}, {"file", fileNameWithoutExtension, "file"},
      {"file", cutAtLastDot, "file"}, {"file", fileName, "file"}, {"file", fromLastDot, ""},
      // The dot of a folder name counts for the whole-path cuts only.
      {"/a.b/c", cutAtLastDot, "/a"}, {"/a.b/c", fileNameWithoutExtension, "c"},
      {"/a.b/c", fromLastDot, ".b/c"},
      {"archive.tar.gz", fileNameWithoutExtension, "archive.tar"},
      {"archive.tar.gz", fromLastDot, ".gz"},
      {"dir/", fileNameWithoutExtension, ""}, {"dir/", fileName, ""}, {"dir/", folderPart, "dir/"},
      {"a/b\\c.txt", fileName, "c.txt"}, {"a/b\\c.txt", folderPart, "a/b\\"},
      {".hidden", fileNameWithoutExtension, ""}, {".hidden", cutAtLastDot, ""},
      {"", folderPart, ""}, {"", fileNameWithoutExtension, ""}, {"", fromLastDot, ""},
      {"/out/mesh.obj", cutAtLastDot, "/out/mesh"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.part(c.path), c.expected) << c.path;
}

// What the UV split names its files after: a dot in a folder name is no
// extension (where cutAtLastDot cuts the whole path).
TEST(WithoutExtension, CutsOnlyTheFileNamesExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"proj.v2/split", "proj.v2/split"}, {"proj.v2/split.obj", "proj.v2/split"},
      {"./model", "./model"}, {"../a.b\\c", "../a.b\\c"}, {"a\\b.c/d.e.f", "a\\b.c/d.e"},
      {"mesh.obj", "mesh"}, {"dir/.hidden", "dir/"}, {"", ""}, {"dir.d/", "dir.d/"},
  };
  for (const auto& c : cases) EXPECT_EQ(fileops::withoutExtension(c.first), c.second) << c.first;
}

TEST(PathNames, BytesPassThroughUnchanged) {
  std::string path("d\xC3\xA9j\xE0/\x01na\0me.x", 14);
  EXPECT_EQ(fileops::fileName(path), std::string("\x01na\0me.x", 8));
  EXPECT_EQ(fileops::fileNameWithoutExtension(path), std::string("\x01na\0me", 6));
  EXPECT_EQ(fileops::folderPart(path), std::string("d\xC3\xA9j\xE0/", 6));
}

}  // namespace
