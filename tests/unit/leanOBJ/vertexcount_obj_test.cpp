#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "leanOBJ.h"

namespace {

using testsupport::makeTempDir;
using testsupport::writeText;

// The counting rule written plainly with the standard streams: the
// reference the fast counter must agree with.
float referenceCount(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    size_t at = line.find("#Vertex Count");
    if (at != std::string::npos) {
      std::string rest = at + 14 <= line.size() ? line.substr(at + 14) : std::string();
      std::istringstream r(rest);
      int n;
      if (r >> n) count = n;
      return float(count);
    }
    if (line.size() >= 2 && line[0] == 'v' && line[1] == ' ') ++count;
  }
  return float(count);
}

class ObjCount : public ::testing::Test {
 protected:
  std::string dir = makeTempDir("objcount");
  // The count of the text in memory.
  float count(const std::string& text) {
    return float(leanobj::countVertices(reinterpret_cast<const unsigned char*>(text.data()),
                                        text.size()));
  }
  // The count through FennickDLL's C++ name, read from a file in blocks.
  float countFile(const std::string& text) {
    std::string path = dir + "/m.obj";
    EXPECT_TRUE(writeText(path, text));
    return getVertexCount(path.c_str());
  }
};

TEST_F(ObjCount, CountsVertexLinesOnly) {
  EXPECT_EQ(count("v 0 0 0\nv 1 0 0\nvt 0 0\nvn 0 0 1\nf 1 2 2\n"), 2.0f);
  EXPECT_EQ(count("v\t1 2 3\nv1 2 3\nv \n v 1\n"), 1.0f);
  EXPECT_EQ(count("v 0 0 0\r\nv 1 1 1\r\n"), 2.0f);
  EXPECT_EQ(count("v 1 2 3"), 1.0f);  // last line without line feed
  EXPECT_EQ(count(""), 0.0f);
}

TEST_F(ObjCount, MarkerLineStatesTheCount) {
  EXPECT_EQ(count("#Vertex Count 1234\nv 1 1 1\n"), 1234.0f);
  EXPECT_EQ(count("#Vertex Count=77\n"), 77.0f);
  EXPECT_EQ(count("v 0 0 0\nv 0 0 0\nv 0 0 0\n#Vertex Count words\nv 1 1 1\n"), 3.0f);
  EXPECT_EQ(count("v 0 0 0\n#Vertex Count\nv 1 1 1\n"), 1.0f);
  EXPECT_EQ(count("v 0 0 0\n#Vertex count 50\nv 1 1 1\n"), 2.0f);
  EXPECT_EQ(count("v 0 0 0\nxx #Vertex Count -12 z\n"), -12.0f);
  EXPECT_EQ(count("v 0 0 0 #Vertex Count 9\nv 1 1 1\n"), 9.0f);
  EXPECT_EQ(count("v 0 0 0\n#Vertex Count 99999999999\n"), 1.0f);
  EXPECT_EQ(count("#Vertex Count 12\r\n"), 12.0f);
}

TEST_F(ObjCount, MissingFile) {
  EXPECT_EQ(getVertexCount((dir + "/none.obj").c_str()), -1.0f);
  EXPECT_EQ(getVertexCount(nullptr), -1.0f);
}

TEST_F(ObjCount, AgreesWithReferenceOnGeneratedFiles) {
  std::mt19937 rng(2024);
  const char* lines[] = {"v 1 2 3", "vt 0 0", "vn 0 0 1", "f 1 2 3", "v", "", "# c",
                         "#Vertex Count 5", "#Vertex Count", "#Vertex Count x",
                         "v\t1", "g g", " v 1", "v 0 0 0\r", "#Vertex Coun", "vv 1"};
  std::uniform_int_distribution<size_t> pick(0, sizeof lines / sizeof *lines - 1);
  std::uniform_int_distribution<int> markerOdds(0, 400);
  for (int file = 0; file < 300; ++file) {
    std::string text;
    int n = file < 5 ? 200000 : 200;  // a few files that span read blocks
    for (int i = 0; i < n; ++i) {
      size_t k = pick(rng);
      if (k >= 7 && k <= 9 && markerOdds(rng) != 0) k = 0;
      text += lines[k];
      text += '\n';
    }
    if (file % 2) text += "v 9 9 9";
    ASSERT_EQ(count(text), referenceCount(text)) << "file " << file;
    if (file < 5 || file % 50 == 0) {
      ASSERT_EQ(countFile(text), referenceCount(text)) << "file " << file;
    }
  }
}

TEST_F(ObjCount, MarkerAcrossAReadBlockBoundary) {
  std::string text;
  while (text.size() < (size_t(1) << 20) - 5) text += "v 1 2 3\n";
  text += "#Vertex Count 42\n";
  EXPECT_EQ(countFile(text), 42.0f);
  EXPECT_EQ(count(text), 42.0f);
}

}  // namespace
