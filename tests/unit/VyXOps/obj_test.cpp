#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FennickDLL.h"
#include "TestSupport.h"
#include "VyXOps.h"
#include "VyXWriter.h"

namespace {

using testsupport::fileExists;
using testsupport::readText;
using vyxgen::Block;
using vyxgen::Bytes;

const std::string kRgbHeader =
    "# The following RGB block contains Plaxio Vertex Color (Pigmora) output as 3 "
    "hexadecimal values per vertex. The vertex color format is RRGGBB with up to 32 "
    "entries per RGB line.\n";

class ObjConversion : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("obj");
  std::string obj = dir + "/out.obj";
  void SetUp() override { faceID.clear(); }
  void TearDown() override { faceID.clear(); }
  std::string file(const std::string& name, const Bytes& bytes) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(testsupport::writeBytes(path, bytes));
    return path;
  }
  float convert(const std::string& vyx) { return writeOBJfromVyx(vyx.c_str(), &obj[0]); }
};

std::vector<std::array<uint8_t, 4>> colours(size_t n) {
  std::vector<std::array<uint8_t, 4>> c(n);
  for (size_t i = 0; i < n; ++i) c[i] = {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0xEE};
  return c;
}

std::string entry(uint8_t blue, uint8_t green, uint8_t red) {
  char text[8];
  std::snprintf(text, sizeof text, " %02x%02x%02x", red, green, blue);
  return text;
}

using fennick::Status;

// The OBJ text of bytes in memory, and how the conversion ended.
struct ObjRun {
  Status status = Status::Ok;
  uint32_t tag = 0;  // the wrong tag met (WrongTag)
  std::string text;
};

ObjRun objOf(const Bytes& bytes, const std::vector<uint32_t>& ids) {
  ObjRun run;
  vyx::ObjHead head;
  vyx::TagFound found;
  run.status = vyx::objHead(bytes.data(), bytes.size(), head, found);
  if (run.status == Status::Ok) {
    std::vector<unsigned char> text;
    textops::OutFile out;
    EXPECT_EQ(textops::openOutMemory(out, text), Status::Ok);
    run.status = vyx::putObj(head, ids, out, found);
    EXPECT_TRUE(textops::closeOut(out));
    run.text.assign(text.begin(), text.end());
  }
  run.tag = found.tag;
  return run;
}

TEST_F(ObjConversion, WholeFileWithNumbersColoursQuadsAndHeadings) {
  Block v = vyxgen::vertexBlock({{0.5f, 1.0f / 3.0f, 0.0001f},
                                 {0.0000001f, 2000000.0f, -0.0f},
                                 {-1.5f, 123456.0f, 1234567.0f},
                                 {0, 0, 0},
                                 {1e-5f, -7.25f, 100.0f},
                                 {3, 4, 5}});
  Block c = vyxgen::colourBlock({{0x10, 0x20, 0x30, 0xFF}, {0x00, 0x80, 0xFF, 0x00}});
  Block f = vyxgen::faceBlock({{0, 1, 2, 3}, {1, 4, 5, 2}});
  faceID = {1, 1};
  ASSERT_EQ(convert(file("m.vyx", vyxgen::fileBytes({v, c, f}))), 0.0f);
  EXPECT_EQ(readText(obj),
            "# File exported by Plaxio plugin\n#Vertex count 6\n#Face count 2\n"
            "v 0.5 0.333333 0.0001\n"
            "v 1e-07 2e+06 -0\n"
            "v -1.5 123456 1.23457e+06\n"
            "v 0 0 0\n"
            "v 1e-05 -7.25 100\n"
            "v 3 4 5\n" +
                kRgbHeader + "#RGB  302010 ff8000\n# End of RGB block\n" +
                "#FaceID 1\nf 1 2 3 4\n#FaceID 2\nf 2 5 6 3\n");
  EXPECT_TRUE(faceID.empty());
  // The list was used up: a second conversion has nothing to group by.
  std::remove(obj.c_str());
  EXPECT_EQ(convert(dir + "/m.vyx"), -18.0f);
  EXPECT_FALSE(fileExists(obj));
}

TEST(ObjInMemory, TriangleTrailingSpaceAndSignedIndices) {
  Block v = vyxgen::vertexBlock({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  Block c = vyxgen::colourBlock({});
  // 0xFFFFFFFF as the fourth index is a triangle; 0x7FFFFFFF + 1 wraps to a
  // negative number and 0xFFFFFFFE + 1 is -1: neither is written.
  Block f = vyxgen::faceBlock({{0, 1, 2, 0xFFFFFFFFu},
                               {0x7FFFFFFFu, 1, 2, 0x7FFFFFFFu},
                               {2, 1, 0, 0xFFFFFFFEu},
                               {0, 1, 2, 0x7FFFFFFEu}});
  ObjRun run = objOf(vyxgen::fileBytes({v, c, f}), {4});
  ASSERT_EQ(run.status, Status::Ok);
  const std::string& text = run.text;
  EXPECT_NE(text.find("#Face count 4\n"), std::string::npos);
  EXPECT_NE(text.find(kRgbHeader + "\n# End of RGB block\n#FaceID 1\n"
                                   "f 1 2 3 \n"
                                   "f -2147483648 2 3 \n"
                                   "f 3 2 1 \n"
                                   "f 1 2 3 2147483647\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.substr(text.size() - 28), "f 3 2 1 \nf 1 2 3 2147483647\n");
}

TEST(ObjInMemory, ColourLinesHoldThirtyTwoEntries) {
  Block v = vyxgen::vertexBlock({});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}});
  for (size_t n : {1u, 31u, 32u, 33u, 64u, 65u}) {
    auto cs = colours(n);
    ObjRun run = objOf(vyxgen::fileBytes({v, vyxgen::colourBlock(cs), f}), {1});
    ASSERT_EQ(run.status, Status::Ok);
    std::string expected = kRgbHeader;
    for (size_t k = 0; k < n; ++k) {
      if (k % 32 == 0) expected += "#RGB ";
      expected += entry(cs[k][0], cs[k][1], cs[k][2]);
      if (k % 32 == 31) expected += "\n";
    }
    expected += "\n# End of RGB block\n";
    const std::string& text = run.text;
    size_t at = text.find(kRgbHeader);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at, expected.size()), expected) << n;
    EXPECT_EQ(text.substr(at + expected.size()), "#FaceID 1\nf 1 1 1 1\n") << n;
  }
}

TEST(ObjInMemory, FaceIdCountsDecideWhatIsWritten) {
  Block v = vyxgen::vertexBlock({{0, 0, 0}});
  Block c = vyxgen::colourBlock({});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}});
  const Bytes bytes = vyxgen::fileBytes({v, c, f});
  const std::string tail = "# End of RGB block\n";
  auto faces = [&](const std::vector<uint32_t>& ids) {
    ObjRun run = objOf(bytes, ids);
    EXPECT_EQ(run.status, Status::Ok);
    return run.text.substr(run.text.find(tail) + tail.size());
  };
  // Fewer faces than the block holds.
  EXPECT_EQ(faces({2}), "#FaceID 1\nf 1 1 1 1\nf 2 2 2 2\n");
  // More entries than fit: stops at the block end.
  EXPECT_EQ(faces({1, 2, 5, 5}), "#FaceID 1\nf 1 1 1 1\n#FaceID 2\nf 2 2 2 2\nf 3 3 3 3\n");
  // Level 0: headings without faces.
  EXPECT_EQ(faces({0, 0, 0}), "#FaceID 1\n#FaceID 2\n#FaceID 3\n");
  EXPECT_EQ(faces({}), "");
}

TEST(ObjInMemory, HeaderCountsComeFromTheBlocksAsTheyStand) {
  // The face count is the count of the block after next, whatever its tag
  // and wherever the colour block's size says it is.
  Block v = vyxgen::vertexBlock({{1, 2, 3}});
  Block c = vyxgen::colourBlock({{1, 2, 3, 4}});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}});
  f.count = 0xFFFFFFFFu;  // written signed; only the face IDs say how many faces
  ObjRun run = objOf(vyxgen::fileBytes({v, c, f}), {1});
  ASSERT_EQ(run.status, Status::Ok);
  EXPECT_EQ(run.text.substr(0, 64),
            "# File exported by Plaxio plugin\n#Vertex count 1\n#Face count -1\n");
}

TEST(ObjInMemory, WrongAndZeroTags) {
  Block v = vyxgen::vertexBlock({{1, 2, 3}});
  Block c = vyxgen::colourBlock({{1, 2, 3, 4}});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}});
  Block zeroTag = c;
  zeroTag.tag = 0;
  Block odd = f;
  odd.tag = 777;
  struct Case {
    std::vector<Block> blocks;
    Status status;
    uint32_t tag;
  };
  const Case cases[] = {{{c, v, f}, Status::WrongTag, 35001},
                        {{v, f, c}, Status::WrongTag, 20001},
                        {{v, c, odd}, Status::WrongTag, 777},
                        {{zeroTag, v, f}, Status::ZeroTag, 0},
                        {{v, zeroTag, f}, Status::ZeroTag, 0}};
  for (const Case& k : cases) {
    ObjRun run = objOf(vyxgen::fileBytes(k.blocks), {1});
    EXPECT_EQ(run.status, k.status) << k.tag;
    EXPECT_EQ(run.tag, k.tag);
  }
}

TEST_F(ObjConversion, WrongBlocksLeaveNoFileAndKeepAnOldOne) {
  Block v = vyxgen::vertexBlock({{1, 2, 3}});
  Block c = vyxgen::colourBlock({{1, 2, 3, 4}});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}});
  struct Case {
    std::vector<Block> blocks;
    float result;
    std::string output;  // "-" for no file
  };
  Block zeroTag = c;
  zeroTag.tag = 0;
  Block zeroFaces = f;
  zeroFaces.tag = 0;
  Block odd = f;
  odd.tag = 777;
  std::vector<Case> cases = {
      {{c, v, f}, 35001, "-"},
      {{f}, 20001, "-"},
      {{zeroTag, v, f}, -20, "-"},
      // No colour block: the face block follows the vertices.
      // No colour block: the face block follows the vertices. A block found
      // wrong after lines were written leaves no file either.
      {{v, f, c}, 20001, "-"},
      {{v, zeroTag, f}, -20, "-"},
      {{v, c, odd}, 777, "-"},
      {{v, c, zeroFaces}, -20, "-"},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    std::remove(obj.c_str());
    faceID = {1, 1};
    std::string path = file("w" + std::to_string(i) + ".vyx", vyxgen::fileBytes(cases[i].blocks));
    EXPECT_EQ(convert(path), cases[i].result) << i;
    EXPECT_FALSE(fileExists(obj)) << i;
    // A file already there stays as it was.
    ASSERT_TRUE(testsupport::writeText(obj, "previous\n"));
    EXPECT_EQ(convert(path), cases[i].result) << i;
    EXPECT_EQ(readText(obj), "previous\n") << i;
    EXPECT_EQ(testsupport::namesIn(dir).size(), i + 2) << i;  // the inputs and obj, nothing else
    EXPECT_EQ(faceID, (std::vector<uint32_t>{1, 1})) << i;  // kept for a retry
  }
}

TEST_F(ObjConversion, OpenAndCreateFailures) {
  faceID = {1};
  EXPECT_EQ(writeOBJfromVyx(nullptr, &obj[0]), -1760.0f);
  EXPECT_EQ(convert(dir + "/missing.vyx"), -1760.0f);
  EXPECT_FALSE(fileExists(obj));
  std::string path = file("ok.vyx", vyxgen::fileBytes({vyxgen::vertexBlock({}),
                                                      vyxgen::colourBlock({}),
                                                      vyxgen::faceBlock({})}));
  std::string badOut = dir + "/no/such/folder/out.obj";
  EXPECT_EQ(writeOBJfromVyx(path.c_str(), &badOut[0]), -2.0f);
  EXPECT_EQ(writeOBJfromVyx(path.c_str(), nullptr), -2.0f);
  EXPECT_EQ(faceID, std::vector<uint32_t>{1});
  faceID.clear();
  EXPECT_EQ(writeOBJfromVyx(nullptr, nullptr), -18.0f);
}

TEST_F(ObjConversion, CountsPastTheDataStopWithoutReadingThere) {
  Block v = vyxgen::vertexBlock({{1, 2, 3}});
  Block c = vyxgen::colourBlock({{1, 2, 3, 4}});
  Block f = vyxgen::faceBlock({{0, 0, 0, 0}});
  const std::string vertexPart =
      "# File exported by Plaxio plugin\n#Vertex count 1\n#Face count 1\nv 1 2 3\n";
  Block bigV = v;
  bigV.count = 1000;
  Block bigC = c;
  bigC.count = 0x40000000;
  // The face block's size promises more faces than the data holds, and
  // faceID asks for them.
  Block longF = f;
  longF.sizeSet = true;
  longF.size = 16 + 16 * 100;
  faceID = {1, 1000};
  EXPECT_EQ(convert(file("a.vyx", vyxgen::fileBytes({v, c, longF}))), -19.0f);
  EXPECT_FALSE(fileExists(obj));
  faceID = {1};
  std::remove(obj.c_str());
  EXPECT_EQ(convert(file("b.vyx", vyxgen::fileBytes({bigV, c, f}))), -19.0f);
  EXPECT_FALSE(fileExists(obj));
  ASSERT_TRUE(testsupport::writeText(obj, vertexPart));
  EXPECT_EQ(convert(file("c.vyx", vyxgen::fileBytes({v, bigC, f}))), -19.0f);
  EXPECT_EQ(readText(obj), vertexPart);  // as it was
  Block hugeSize = v;
  hugeSize.sizeSet = true;
  hugeSize.size = 0xFFFFFFF0u;  // the face count would lie far past the data
  std::remove(obj.c_str());
  EXPECT_EQ(convert(file("d.vyx", vyxgen::fileBytes({hugeSize, c, f}))), -19.0f);
  EXPECT_FALSE(fileExists(obj));
  EXPECT_EQ(faceID, std::vector<uint32_t>{1});
}

// Every prefix of a valid file: a result, never a read past the data (the
// sanitizer lane checks the reads).
TEST(ObjInMemory, EveryTruncationFails) {
  Bytes whole = vyxgen::fileBytes({vyxgen::vertexBlock({{1, 2, 3}, {4, 5, 6}}),
                                   vyxgen::colourBlock(colours(3)),
                                   vyxgen::faceBlock({{0, 1, 1, 0xFFFFFFFFu}, {1, 0, 0, 1}})});
  for (size_t n = 0; n < whole.size(); ++n) {
    ObjRun run = objOf(Bytes(whole.begin(), whole.begin() + long(n)), {1, 1});
    EXPECT_NE(run.status, Status::Ok) << n;
    if (run.status == Status::WrongTag) {
      EXPECT_TRUE(run.tag == 10001 || run.tag == 20001 || run.tag == 35001) << n << " " << run.tag;
    }
  }
  EXPECT_EQ(objOf(whole, {1, 1}).status, Status::Ok);
}

class ColourExport : public ObjConversion {
 protected:
  std::string out = dir + "/colours.txt";
  float run(const Bytes& bytes) {
    std::string path = file("c.vyx", bytes);
    return ReadVertColorVyx(path.c_str(), &out[0]);
  }
};

// The RGB block of bytes in memory, or "-" and the failure.
std::string coloursOf(const Bytes& bytes, Status expected = Status::Ok) {
  vyx::ColourBlock block;
  EXPECT_EQ(vyx::colourBlock(bytes.data(), bytes.size(), block), expected);
  if (expected != Status::Ok) return "-";
  std::vector<unsigned char> text;
  textops::OutFile out;
  EXPECT_EQ(textops::openOutMemory(out, text), Status::Ok);
  vyx::putColours(block, out);
  EXPECT_TRUE(textops::closeOut(out));
  return std::string(text.begin(), text.end());
}

TEST(ColoursInMemory, TheRgbBlockOfTheFirstBlock) {
  EXPECT_EQ(coloursOf(vyxgen::fileBytes({vyxgen::colourBlock({{0x00, 0x80, 0xFF, 0x00},
                                                               {0x10, 0x20, 0x30, 0x40}})})),
            kRgbHeader + "#RGB  ff8000 302010\n# End of RGB block\n");
  EXPECT_EQ(coloursOf(vyxgen::fileBytes({vyxgen::colourBlock({})})),
            kRgbHeader + "\n# End of RGB block\n");
  auto cs = colours(64);
  std::string text = coloursOf(vyxgen::fileBytes({vyxgen::colourBlock(cs)}));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
  EXPECT_EQ(text.substr(text.size() - 28), entry(cs[63][0], cs[63][1], cs[63][2]) + "\n\n# End of RGB block\n");
  // The tag is not looked at: a vertex block's coordinates read as colours.
  EXPECT_EQ(coloursOf(vyxgen::fileBytes({vyxgen::vertexBlock({{1.0f, 0, 0}})})),
            kRgbHeader + "#RGB  800000\n# End of RGB block\n");
  Block big = vyxgen::colourBlock(colours(3));
  big.count = 4;
  coloursOf(vyxgen::fileBytes({big}), Status::PastEnd);
  coloursOf(Bytes(47, 0), Status::PastEnd);
}

TEST_F(ColourExport, TheRgbBlockGoesToTheFile) {
  ASSERT_EQ(run(vyxgen::fileBytes({vyxgen::colourBlock({{0x00, 0x80, 0xFF, 0x00},
                                                        {0x10, 0x20, 0x30, 0x40}})})),
            0.0f);
  EXPECT_EQ(readText(out), kRgbHeader + "#RGB  ff8000 302010\n# End of RGB block\n");
}

TEST_F(ColourExport, Failures) {
  EXPECT_EQ(ReadVertColorVyx(nullptr, &out[0]), -1760.0f);
  EXPECT_EQ(ReadVertColorVyx((dir + "/none.vyx").c_str(), &out[0]), -1760.0f);
  EXPECT_FALSE(fileExists(out));
  std::string ok = file("ok.vyx", vyxgen::fileBytes({vyxgen::colourBlock({})}));
  EXPECT_EQ(ReadVertColorVyx(ok.c_str(), nullptr), -2.0f);
  Block big = vyxgen::colourBlock(colours(3));
  big.count = 4;
  EXPECT_EQ(run(vyxgen::fileBytes({big})), -19.0f);
  EXPECT_EQ(run(Bytes(47, 0)), -19.0f);
  EXPECT_FALSE(fileExists(out));
}

}  // namespace
