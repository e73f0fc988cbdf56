#include <gtest/gtest.h>
#include <utility>

#include "FennickDLL.h"
#include "FileOps.h"

namespace {

struct Case {
  const char* path;
  int mode;
  const char* expected;
};

TEST(FileNameExtract, ModesOnTypicalAndOddPaths) {
  const Case cases[] = {
      {"C:\\dir\\file.obj", 1, "C:\\dir\\"}, {"C:\\dir\\file.obj", 2, "file"},
      {"C:\\dir\\file.obj", 3, "C:\\dir\\file"}, {"C:\\dir\\file.obj", 4, ".obj"},
      {"C:\\dir\\file.obj", 6, "file.obj"}, {"C:\\dir\\file.obj", 5, "C:\\dir\\file.obj"},
      {"C:\\dir\\file.obj", 0, "C:\\dir\\file.obj"}, {"C:\\dir\\file.obj", -3, "C:\\dir\\file.obj"},
      {"file", 1, ""}, {"file", 2, "file"}, {"file", 3, "file"}, {"file", 6, "file"},
      {"file", 4, ""},
      {"/a.b/c", 3, "/a"}, {"/a.b/c", 2, "c"}, {"/a.b/c", 4, ".b/c"},
      {"archive.tar.gz", 2, "archive.tar"}, {"archive.tar.gz", 4, ".gz"},
      {"dir/", 2, ""}, {"dir/", 6, ""}, {"dir/", 1, "dir/"},
      {"a/b\\c.txt", 6, "c.txt"}, {"a/b\\c.txt", 1, "a/b\\"},
      {".hidden", 2, ""}, {".hidden", 3, ""}, {"", 1, ""}, {"", 2, ""}, {"", 4, ""},
      {"/out/mesh.obj", 3, "/out/mesh"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileNameExtract(c.path, c.mode), c.expected) << c.path << " mode " << c.mode;
}

// What the UV split names its files after: a dot in a folder name is no
// extension (where FileNameExtract's mode 3 cuts the whole path).
TEST(WithoutExtension, CutsOnlyTheFileNamesExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"proj.v2/split", "proj.v2/split"}, {"proj.v2/split.obj", "proj.v2/split"},
      {"./model", "./model"}, {"../a.b\\c", "../a.b\\c"}, {"a\\b.c/d.e.f", "a\\b.c/d.e"},
      {"mesh.obj", "mesh"}, {"dir/.hidden", "dir/"}, {"", ""}, {"dir.d/", "dir.d/"},
  };
  for (const auto& c : cases) EXPECT_EQ(fileops::withoutExtension(c.first), c.second) << c.first;
}

TEST(FileNameExtract, BytesPassThroughUnchanged) {
  std::string path("d\xC3\xA9j\xE0/\x01na\0me.x", 14);
  EXPECT_EQ(FileNameExtract(path, 6), std::string("\x01na\0me.x", 8));
  EXPECT_EQ(FileNameExtract(path, 2), std::string("\x01na\0me", 6));
  EXPECT_EQ(FilepathTruncate(path), path);
}

}  // namespace
