#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ColladaOps.h"
#include "ExpectedDocuments.h"
#include "FennickDLL.h"
#include "TestSupport.h"
#include "TextOps.h"

namespace {

using fennick::Status;
using testsupport::fileExists;
using testsupport::makeTempDir;
using testsupport::readText;
using testsupport::writeText;

constexpr const char* kQuadObj =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "g box\nf 1/1 2/2 3/3 4/4\n";

constexpr const char* kTwoTrianglesObj =
    "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
    "g tail\nf 1/1 2/2 3/3\ng head\nf 2/2 4/4 3/3\n";

// The line of a document that contains `marker` (without its line feed).
std::string lineWith(const std::string& doc, const std::string& marker) {
  size_t at = doc.find(marker);
  if (at == std::string::npos) return "<missing " + marker + ">";
  size_t begin = doc.rfind('\n', at);
  begin = begin == std::string::npos ? 0 : begin + 1;
  size_t end = doc.find('\n', at);
  return doc.substr(begin, end - begin);
}

size_t countOf(const std::string& doc, const std::string& what) {
  size_t n = 0;
  for (size_t at = doc.find(what); at != std::string::npos; at = doc.find(what, at + 1)) ++n;
  return n;
}

// The text between <tag ...> and </tag> on the line holding `marker`.
std::string listOf(const std::string& doc, const std::string& marker) {
  std::string l = lineWith(doc, marker);
  size_t open = l.find('>', l.find(marker));
  size_t close = l.rfind("</");
  if (open == std::string::npos || close == std::string::npos) return l;
  return l.substr(open + 1, close - open - 1);
}

// Reads OBJ text held in memory into `model`.
fennick::Status readFromText(const std::string& text, int normalMode, colModel& model) {
  return colladaops::readModel(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                               normalMode, model);
}

class Collada : public ::testing::Test {
 protected:
  std::string dir = makeTempDir("collada");
  void SetUp() override {
    setTextureName("");
    setDateTime("");
  }
  std::string obj(const std::string& text, const std::string& name = "in.obj") {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(writeText(path, text));
    return path;
  }
  // Runs a writer in memory with the texts the export gives a document
  // written to outName; the document, or "" when the result was not Ok.
  std::string write(const std::string& text, int mode, bool tris = false,
                    const std::string& outName = "box.dae", Status* result = nullptr) {
    const colladaops::Layout layout =
        tris ? colladaops::Layout::Triangles : colladaops::Layout::Polylist;
    colladaops::DocumentTexts texts;
    texts.textureName = fileHeader.textureName;
    texts.dateTime = fileHeader.dateTime;
    colladaops::setWriterTexts(texts, dir + "/" + outName, layout);
    std::string doc;
    textops::OutFile out;
    EXPECT_EQ(textops::openOutMemory(out, doc), Status::Ok);
    const Status r = colladaops::writeDocument(reinterpret_cast<const unsigned char*>(text.data()),
                                               text.size(), mode, layout, texts, out);
    EXPECT_TRUE(textops::closeOut(out));
    if (result) *result = r;
    EXPECT_TRUE(result || r == Status::Ok) << int(r);
    EXPECT_EQ(doc.empty(), r != Status::Ok);
    return doc;
  }
  // The same through FennickDLL's C++ names and files.
  std::string writeFile(const std::string& text, int mode, bool tris = false,
                        const std::string& outName = "box.dae") {
    std::string in = obj(text);
    std::string out = dir + "/" + outName;
    float r = tris ? OBJtoCOLLADATris(in.c_str(), &out[0], mode)
                   : OBJtoCOLLADA(in.c_str(), &out[0], mode);
    EXPECT_EQ(r, 0.0f);
    return r == 0.0f ? readText(out) : std::string();
  }
  Status code(const std::string& text, int mode, bool tris = false) {
    Status r;
    write(text, mode, tris, "refused.dae", &r);
    EXPECT_FALSE(r == Status::Ok) << "accepted";
    return r;
  }
};

// ---- whole documents ----------------------------------------------------------

TEST_F(Collada, QuadPolylistWithNormalsIsTheWholeDocument) {
  setTextureName("skin");
  setDateTime("yesterday");
  EXPECT_EQ(write(kQuadObj, 1), kQuadPolylistMode1);
  // Texture name and date stay for the next export, which writes the same
  // bytes through a file.
  EXPECT_EQ(writeFile(kQuadObj, 1), kQuadPolylistMode1);
}

TEST_F(Collada, QuadPolylistWithoutNormalsDropsTheNormalSourceAndInput) {
  setTextureName("skin");
  setDateTime("yesterday");
  std::string expected = kQuadPolylistMode1;
  size_t from = expected.find("        <source id=\"box-normals\"");
  size_t to = expected.find("        <source id=\"box-map1\"");
  expected.erase(from, to - from);
  size_t normalInput = expected.find("          <input semantic=\"NORMAL\"");
  expected.erase(normalInput, expected.find('\n', normalInput) + 1 - normalInput);
  expected.replace(expected.find("offset=\"2\" set"), 10, "offset=\"1\"");
  expected.replace(expected.find("<p>0 0 0 1 1 1 2 2 2 3 3 3 </p>"), 31, "<p>0 0 1 1 2 2 3 3 </p>");
  EXPECT_EQ(write(kQuadObj, 0), expected);
  EXPECT_EQ(write(kQuadObj, -3), expected);
  EXPECT_EQ(write(kQuadObj, INT32_MIN), expected);
}

TEST_F(Collada, TwoGroupTrianglesIsTheWholeDocument) {
  EXPECT_EQ(write(kTwoTrianglesObj, 1, true, "My Model.dae"), kTwoGroupTrianglesMode1);
  EXPECT_EQ(writeFile(kTwoTrianglesObj, 1, true, "My Model.dae"), kTwoGroupTrianglesMode1);
  EXPECT_EQ(fileHeader.modelName, "My_Model_");
  EXPECT_EQ(fileHeader.copyright, "copyright 2015");
}

TEST_F(Collada, HeaderFieldsAreSetByEachWriter) {
  writeFile(kQuadObj, 0);
  EXPECT_EQ(fileHeader.modelName, "box");
  EXPECT_EQ(fileHeader.author, "author");
  EXPECT_EQ(fileHeader.copyright, "copyright 2010");
  EXPECT_EQ(fileHeader.comments, "comments here");
  EXPECT_EQ(fileHeader.textureName, "");
  std::string doc = write(kQuadObj, 0);
  EXPECT_EQ(lineWith(doc, "<init_from>./"), "      <init_from>./.bmp</init_from>");
  EXPECT_EQ(lineWith(doc, "<created>"), "    <created></created>");
  // A missing OBJ file still renames the model but writes nothing.
  std::string out = dir + "/head.dae";
  EXPECT_EQ(OBJtoCOLLADATris((dir + "/missing.obj").c_str(), &out[0], 0), -1.0f);
  EXPECT_EQ(fileHeader.modelName, "head_");
  EXPECT_FALSE(fileExists(out));
}

// ---- names and escaping -------------------------------------------------------

TEST(ModelName, WordsAndSingleWords) {
  EXPECT_EQ(colladaops::modelName("/data/My Model.dae", true), "My_Model_");
  EXPECT_EQ(colladaops::modelName("/data/My  Model .dae", true), "My_Model_");
  EXPECT_EQ(colladaops::modelName("/data/head", true), "head");
  EXPECT_EQ(colladaops::modelName("C:\\out\\head.dae", false), "head_");
  EXPECT_EQ(colladaops::modelName("/data/ Head .dae", true), " Head ");
  EXPECT_EQ(colladaops::modelName("/data/   .dae", true), "");
  EXPECT_EQ(colladaops::modelName("/data/   .dae", false), "");
  EXPECT_EQ(colladaops::modelName("a.b.dae", true), "a.b");
}

TEST_F(Collada, SpecialCharactersInTextsAreEscaped) {
  setTextureName("R&D <skin> \"1\"");
  setDateTime("<today> & \"now\"\xe9");
  std::string doc = writeFile(kQuadObj, 0, false, "R&D.dae");
  EXPECT_EQ(lineWith(doc, "<init_from>./"),
            "      <init_from>./R&amp;D &lt;skin&gt; &quot;1&quot;.bmp</init_from>");
  EXPECT_EQ(lineWith(doc, "<created>"),
            "    <created>&lt;today&gt; &amp; &quot;now&quot;\xe9</created>");
  EXPECT_EQ(lineWith(doc, "<geometry"), "    <geometry id=\"R&amp;D\" name=\"R&amp;D\">");
  EXPECT_EQ(lineWith(doc, "<instance_geometry"), "        <instance_geometry url=\"#R&amp;D\">");
  EXPECT_EQ(countOf(doc, "R&D"), 0u);
  // The stored texts themselves stay raw.
  EXPECT_EQ(fileHeader.modelName, "R&D");
  EXPECT_EQ(fileHeader.textureName, "R&D <skin> \"1\"");
}

TEST_F(Collada, NullSetterTextStoresAnEmptyText) {
  setTextureName("skin");
  setTextureName(nullptr);
  EXPECT_EQ(fileHeader.textureName, "");
  setDateTime("x");
  setDateTime(nullptr);
  EXPECT_EQ(fileHeader.dateTime, "");
}

// ---- reading ----------------------------------------------------------------------

TEST_F(Collada, CornerFormsAndIndices) {
  std::string base =
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 2 2\nv 3 3 3\nv 4 4 4\n"
      "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt .5 .5\nvt .6 .6\nvt .7 .7\nvn 0 0 1\ng a\n";
  // No slashes: the number serves as texture index too.
  EXPECT_EQ(listOf(write(base + "f 5 6 7\n", 0), "<p>"), "4 4 5 5 6 6 ");
  // Normal indices are ignored; without a texture index the vertex number stands.
  EXPECT_EQ(listOf(write(base + "f 7/3/1 5//1 6/2/\n", 0), "<p>"), "6 2 4 4 5 1 ");
  // Relative indices count back from the lines read so far; runs of blanks,
  // tabs and a trailing carriage return separate corners.
  std::string doc = write(base + "f -1/-2  -2/-1\t-3/-3 \r\n", 0);
  EXPECT_EQ(listOf(doc, "<p>"), "6 5 5 6 4 4 ");
  EXPECT_EQ(listOf(doc, "<vcount>"), "3 ");
  // Faces with fewer than three corners and a lone f are no faces.
  doc = write(base + "f 1 2\nf\nf 3\nf 1/1 2/2 3/3 4/4\n", 0);
  EXPECT_EQ(listOf(doc, "<vcount>"), "4 ");
  EXPECT_EQ(lineWith(doc, "<polylist"), "        <polylist material=\"1_box_blinnSG\" count=\"1\">");
}

// A corner token read by the rule, plainly: the text before the first slash
// is the vertex number, the text between the first and a second slash the
// texture number (the vertex number when empty or absent), each a whole
// 32-bit integer, 1-based or negative counting back from `count`. `past` is
// set for a positive number beyond the list, which only matters for a face
// that is kept.
bool referenceCorner(const std::string& token, int32_t count, int32_t& vertex,
                     int32_t& texture, bool& past) {
  auto whole = [](const std::string& text, int32_t& value) {
    std::istringstream in(text);
    in >> value;
    return !text.empty() && !in.fail() && in.peek() == EOF;
  };
  auto resolve = [count, &past](int32_t number, int32_t& index) {
    if (number > 0) {
      index = number - 1;
      past = past || number > count;
      return true;
    }
    index = count + number;
    return number < 0 && -int64_t(number) <= count;
  };
  size_t slash = token.find('/');
  int32_t v, t;
  if (!whole(token.substr(0, slash), v)) return false;
  t = v;
  if (slash != std::string::npos) {
    size_t second = token.find('/', slash + 1);
    std::string part = token.substr(slash + 1, second == std::string::npos
                                                   ? std::string::npos
                                                   : second - slash - 1);
    if (!part.empty() && !whole(part, t)) return false;
  }
  return resolve(v, vertex) && resolve(t, texture);
}

// Face lines of every corner form, with numbers of every length, signs,
// leading zeros and junk, near the end of the file and far from it: the
// model's lists (or the refusal) are what the plain rule gives.
TEST_F(Collada, CornerReadingAgreesWithThePlainRule) {
  const int32_t kCount = 60;
  std::string lists;
  for (int32_t i = 0; i < kCount; ++i) lists += "v 0 0 0\nvt 0 0\n";
  lists += "g a\n";
  std::mt19937 random(11);
  auto number = [&]() -> std::string {
    switch (random() % 10) {
      case 0: return "-" + std::to_string(1 + random() % kCount);
      case 1: return "0" + std::to_string(1 + random() % kCount);
      case 2: return "+" + std::to_string(1 + random() % kCount);
      case 3: return std::string(random() % 9, '0') + std::to_string(1 + random() % kCount);
      case 4: return std::to_string(random() % 3 == 0 ? 0 : 1000000000 + random() % 9);
      case 5: return std::string("x7.5-").substr(random() % 5, 1 + random() % 2);
      default: return std::to_string(1 + random() % kCount);
    }
  };
  int refused = 0, read = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string line = "f";
    std::vector<std::string> tokens;
    int corners = 1 + int(random() % 6);
    for (int c = 0; c < corners; ++c) {
      std::string token = number();
      switch (random() % 6) {
        case 1: token += "/" + number(); break;
        case 2: token += "/" + number() + "/" + number(); break;
        case 3: token += "//" + number(); break;
        case 4: token += "/"; break;
        default: break;
      }
      tokens.push_back(token);
      line += std::string(1 + random() % 2, random() % 4 ? ' ' : '\t') + token;
    }
    if (random() % 2) line += random() % 2 ? "\r\n" : "\n";  // else the file's last bytes
    colModel model;
    const fennick::Status code = readFromText(lists + line, 0, model);
    std::vector<int32_t> vertices, textures;
    bool sound = true, past = false;
    for (const std::string& token : tokens) {
      int32_t v, t;
      if (!referenceCorner(token, kCount, v, t, past)) {
        sound = false;
        break;
      }
      vertices.push_back(v);
      textures.push_back(t);
    }
    if (!sound || (past && tokens.size() >= 3)) {
      ASSERT_EQ(code, fennick::Status::BadFace) << line;
      ++refused;
      continue;
    }
    ASSERT_EQ(code, fennick::Status::Ok) << line;
    const colGroup& g = model.groups[0];
    if (tokens.size() < 3) {
      ASSERT_EQ(g.faceCount, 0) << line;
      continue;
    }
    ++read;
    ASSERT_EQ(std::vector<int32_t>(g.vertexIndices.begin(), g.vertexIndices.end()), vertices)
        << line;
    ASSERT_EQ(std::vector<int32_t>(g.textureIndices.begin(), g.textureIndices.end()), textures)
        << line;
  }
  EXPECT_GT(refused, 500);
  EXPECT_GT(read, 500);
}

TEST_F(Collada, FacesThatNameNothingRefuseTheFile) {
  std::string base = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\ng a\n";
  EXPECT_EQ(code(base + "f 1 2 4\n", 0), Status::BadFace);          // past the vertices
  EXPECT_EQ(code(base + "f 1/1 2/2 3/4\n", 1), Status::BadFace);    // past the texture coordinates
  EXPECT_EQ(code(base + "f 0 1 2\n", 0), Status::BadFace);          // OBJ counts from 1
  EXPECT_EQ(code(base + "f -4 1 2\n", 2), Status::BadFace);         // before the first vertex
  EXPECT_EQ(code(base + "f 1/x 2 3\n", 0), Status::BadFace);        // not a number
  EXPECT_EQ(code(base + "f 1.5 2 3\n", 0), Status::BadFace);
  EXPECT_EQ(code(base + "f 99999999999 2 3\n", 0), Status::BadFace);
  // Without any vt line, texture indices are the vertex numbers, written as
  // they are: a mesh without UVs still exports.
  std::string noUVs = write("v 0 0 0\nv 1 0 0\nv 0 1 0\ng a\nf 1 2 3\n", 1);
  EXPECT_EQ(listOf(noUVs, "<p>"), "0 0 0 1 1 1 2 2 2 ");
  EXPECT_EQ(code("v 0 0 0\nv 1 0 0\ng a\nf 1 2 3\n", 0), Status::BadFace);  // past the vertices
  // A face may name vertices that later lines define.
  std::string doc = write("g a\nf 1/1 2/2 3/3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                          "vt 0 0\nvt 1 0\nvt 0 1\n", 1);
  EXPECT_EQ(listOf(doc, "-normals-array"), "0 -0 1 0 -0 1 0 -0 1 ");
}

// A relative corner without texture index reads as its absolute form in a
// file without texture lines (or before the first one): the same document
// in both writers and every normal mode. After texture lines its number
// still counts back from them.
TEST_F(Collada, RelativeCornersWithoutTextureLinesReadAsTheirAbsoluteForms) {
  const std::string v = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\ng a\n";
  const std::string vt = "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n";
  for (bool tris : {false, true}) {
    for (int mode : {0, 1, 2}) {
      const std::string absolute = write(v + "f 1 2 3\nf 2 4 3\n", mode, tris);
      ASSERT_NE(absolute, "");
      EXPECT_EQ(write(v + "f -4 -3 -2\nf -3 -1 -2\n", mode, tris), absolute) << mode;
      EXPECT_EQ(write(v + "f -4//1 -3// -2//9\nf 2 -1 3\n", mode, tris), absolute) << mode;
      EXPECT_EQ(write(v + "f -4 -3 -2\nf -3 -1 -2\n" + vt, mode, tris),
                write(v + "f 1 2 3\nf 2 4 3\n" + vt, mode, tris))
          << mode;
    }
  }
  EXPECT_EQ(listOf(write(v + "vt 0 0\nvt 1 0\nvt 0 1\nf -3 -2 -1\n", 0), "<p>"),
            "1 0 2 1 3 2 ");
  // A relative texture index still needs texture lines to count back from.
  EXPECT_EQ(code(v + "f -4/-1 -3/-1 -2/-1\n", 0), Status::BadFace);
}

TEST_F(Collada, MoreThan1024GroupsRefuseTheFile) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n";
  for (int g = 0; g < 1024; ++g) text += "g n" + std::to_string(g) + "\nf 1 2 3\n";
  std::string doc = write(text + "g n0\nf 1 2 3\n", 0);
  EXPECT_EQ(countOf(doc, "<polylist "), 1024u);
  EXPECT_EQ(code(text + "g one-more\nf 1 2 3\n", 0), Status::TooManyGroups);
}

TEST_F(Collada, TextsAreCopiedVerbatim) {
  std::string doc = write(
      "v 1.000000 -2.5 3\r\nv 4 5 6 7\r\nv 1e3  2 3\r\nvt 0.5 0.25\r\nvt 1 1 0\r\n"
      "vt  0 0\r\ng a\r\nf 1/1 2/2 3/3\r\n",
      0);
  EXPECT_EQ(listOf(doc, "-positions-array"), "1.000000 -2.5 3\r 4 5 6 7\r 1e3  2 3\r ");
  EXPECT_EQ(lineWith(doc, "-positions-array\" count"),
            "        \t          <float_array id=\"box-positions-array\" count=\"9\">"
            "1.000000 -2.5 3\r 4 5 6 7\r 1e3  2 3\r </float_array>\t");
  EXPECT_EQ(listOf(doc, "-map1-array"), " 0.5 0.25\r  1 1 0\r   0 0\r ");
  EXPECT_EQ(lineWith(doc, "-map1-array\" count"),
            "          <float_array id=\"box-map1-array\" count=\"6\">"
            " 0.5 0.25\r  1 1 0\r   0 0\r </float_array>");
}

TEST_F(Collada, GroupsInByteOrderWithRunningNormalNumbers) {
  std::string text =
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
      "f 4 3 2\n"            // before any group line: filed under the first group
      "g tail\nf 1 2 3\n"
      "g head\nf 2 4 3\n"
      "g  head\nf 1 2 4\n"   // two blanks: another group
      "g Zeta\nf 3 2 1\n"
      "g tail\nf 1 3 4\n";   // tail again
  std::string doc = write(text, 1);
  // Key order: "g  head", "g Zeta", "g head", "g tail".
  size_t a = doc.find("<p>0 0 0 1 1 1 3 2 3 </p>");
  size_t b = doc.find("<p>2 3 2 1 4 1 0 5 0 </p>");
  size_t c = doc.find("<p>1 6 1 3 7 3 2 8 2 </p>");
  size_t d = doc.find("<p>3 9 3 2 10 2 1 11 1 0 12 0 1 13 1 2 14 2 0 15 0 2 16 2 3 17 3 </p>");
  ASSERT_NE(a, std::string::npos) << doc;
  ASSERT_NE(b, std::string::npos);
  ASSERT_NE(c, std::string::npos);
  ASSERT_NE(d, std::string::npos);
  EXPECT_TRUE(a < b && b < c && c < d);
  EXPECT_EQ(lineWith(doc, "4_box_blinnSG"),
            "        <polylist material=\"4_box_blinnSG\" count=\"3\">");
  EXPECT_EQ(listOf(doc, "<vcount>3 3 3"), "3 3 3 ");
  EXPECT_EQ(lineWith(doc, "-normals-array\" count"),
            "          <float_array id=\"box-normals-array\" count=\"54\">" +
                listOf(doc, "-normals-array\" count") + "</float_array>");
  EXPECT_EQ(lineWith(doc, "#box-normals-array"),
            "            <accessor source=\"#box-normals-array\" count=\"18\" stride=\"3\">");
  // The visual scene binds the one symbol.
  EXPECT_EQ(countOf(doc, "symbol=\"box_blinnSG\" target=\"#box_blinn\""), 1u);
}

TEST_F(Collada, WithoutGroupLinesThereAreNoFaceLists) {
  std::string doc = write("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n", 1);
  EXPECT_EQ(countOf(doc, "<polylist"), 0u);
  EXPECT_EQ(lineWith(doc, "-normals-array\" count"),
            "          <float_array id=\"box-normals-array\" count=\"0\"></float_array>");
  doc = write("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n", 0, true);
  EXPECT_NE(doc.find("  <library_materials>\n  </library_materials>\n"), std::string::npos);
  EXPECT_NE(doc.find("  <library_effects>\n  </library_effects>\n"), std::string::npos);
  EXPECT_NE(doc.find("            <technique_common>\n            </technique_common>\n"
                     "          </bind_material>\n"),
            std::string::npos);
  EXPECT_EQ(countOf(doc, "<triangles"), 0u);
}

// ---- normals --------------------------------------------------------------------

TEST(SurfaceNormal, CrossProductWithNegativeZero) {
  float p[12] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 9, 9, 9};
  CalculateSurfaceNormal(p, false);
  EXPECT_EQ(p[9], 0.0f);
  EXPECT_TRUE(std::signbit(p[10]));
  EXPECT_EQ(p[11], 1.0f);
  float q[12] = {1, 2, 3, 4, 6, 8, -1, 0, 5, 0, 0, 0};
  CalculateSurfaceNormal(q, false);
  // U = (3, 4, 5), V = (-2, -2, 2).
  EXPECT_EQ(q[9], 18.0f);
  EXPECT_EQ(q[10], -16.0f);
  EXPECT_EQ(q[11], 2.0f);
  CalculateSurfaceNormal(q, true);
  float l = std::sqrt(18.0f * 18.0f + 16.0f * 16.0f + 2.0f * 2.0f);
  EXPECT_EQ(q[9], 18.0f / l);
  EXPECT_EQ(q[10], -16.0f / l);
  EXPECT_EQ(q[11], 2.0f / l);
}

TEST(SurfaceNormal, NoLengthGivesZeroAndNeverNaN) {
  float line[12] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 5, 5, 5};
  CalculateSurfaceNormal(line, true);
  EXPECT_EQ(line[9], 0.0f);
  EXPECT_EQ(line[10], 0.0f);
  EXPECT_EQ(line[11], 0.0f);
  float huge[12] = {-3e38f, 0, 0, 3e38f, 0, 0, 0, 3e38f, 0, 0, 0, 0};
  CalculateSurfaceNormal(huge, true);
  for (int i = 9; i < 12; ++i) EXPECT_FALSE(std::isnan(huge[i])) << i;
  float tiny[12] = {0, 0, 0, 1e-20f, 0, 0, 0, 1e-20f, 0, 0, 0, 0};
  CalculateSurfaceNormal(tiny, true);
  EXPECT_EQ(tiny[11], 1.0f);  // squares underflow, the direction is still known
}

TEST_F(Collada, SmoothNormalsAreAreaWeightedSums) {
  // Vertex 1 is shared by a large face in the xy plane and a small one in the
  // xz plane.
  std::string text =
      "v 0 0 0\nv 4 0 0\nv 0 4 0\nv 0 0 -1\nv 1 0 0\nvt 0 0\n"
      "g a\nf 1/1 2/1 3/1\nf 1/1 5/1 4/1\n";
  std::string mode2 = listOf(write(text, 2), "-normals-array");
  std::string mode3 = listOf(write(text, 3), "-normals-array");
  // Raw sums from +0: face 1 adds (0, -0, 16), face 2 adds (-0, 1, 0).
  EXPECT_EQ(mode3, "0 1 16 0 0 16 0 0 16 0 1 16 0 1 0 0 1 0 ");
  float l = std::sqrt(1.0f + 256.0f);
  char expected[128];
  std::snprintf(expected, sizeof expected, "0 %g %g 0 0 1 0 0 1 0 %g %g 0 1 0 0 1 0 ",
                double(1.0f / l), double(16.0f / l), double(1.0f / l), double(16.0f / l));
  EXPECT_EQ(mode2, expected);
  // Per face: one normal per corner.
  EXPECT_EQ(listOf(write(text, 1), "-normals-array"), "0 -0 1 0 -0 1 0 -0 1 -0 1 0 -0 1 0 -0 1 0 ");
}

TEST_F(Collada, QuadsAddTheirNormalToFourCornersOnly) {
  std::string text =
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 0 0\nvt 0 0\n"
      "g a\nf 1/1 2/1 3/1 4/1\nf 1/1 2/1 3/1 4/1 5/1\n";
  // The pentagon adds only to its first three corners: vertex 4 has one
  // contribution, vertex 5 none.
  EXPECT_EQ(listOf(write(text, 3), "-normals-array"),
            "0 0 2 0 0 2 0 0 2 0 0 1 0 0 2 0 0 2 0 0 2 0 0 1 0 0 0 ");
  EXPECT_EQ(listOf(write(text, 2), "-normals-array"),
            "0 0 1 0 0 1 0 0 1 0 0 1 0 0 1 0 0 1 0 0 1 0 0 1 0 0 0 ");
  // Per face, the sign of the zero stays.
  EXPECT_EQ(listOf(write(text, 1), "-normals-array").substr(0, 14), "0 -0 1 0 -0 1 ");
}

TEST_F(Collada, DegenerateAndShortVertexLinesGiveFiniteNormals) {
  std::string text =
      "v 0 0 0\nv 1\nv \nv 2 2\nv 1e39 0 0\nv 0 3e38 0\nv -3e38 0 0\nvt 0 0\n"
      "g a\nf 1/1 2/1 4/1\nf 1/1 2/1 3/1\nf 5/1 6/1 7/1\n";
  for (int mode : {1, 2, 3}) {
    std::string doc = write(text, mode);
    std::string normals = listOf(doc, "-normals-array");
    EXPECT_EQ(normals.find("nan"), std::string::npos) << mode << ": " << normals;
    EXPECT_EQ(normals.find("inf"), std::string::npos) << mode << ": " << normals;
  }
  // "v 1" is (1, 0, 0), "v " (0, 0, 0), "v 2 2" (2, 2, 0): face 1 points
  // along +z, face 2 has no area.
  std::string prefix = "0 -0 1 0 -0 1 0 -0 1 0 0 0 0 0 0 0 0 0 ";
  EXPECT_EQ(listOf(write(text, 1), "-normals-array").substr(0, prefix.size()), prefix);
}

TEST_F(Collada, SmallNormalComponentsUseExponentNotation) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 1e-7\nvt 0 0\ng a\nf 1/1 2/1 3/1\n";
  EXPECT_EQ(listOf(write(text, 1), "-normals-array"), "0 -1e-07 1 0 -1e-07 1 0 -1e-07 1 ");
}

// ---- triangles ------------------------------------------------------------------

TEST_F(Collada, TrianglesKeepQuadsAndCountFaces) {
  std::string doc = write(kQuadObj, 0, true, "head.dae");
  EXPECT_EQ(lineWith(doc, "<triangles"),
            "        <triangles material=\"material_001\" count=\"1\">");
  EXPECT_EQ(listOf(doc, "<p>"), "0 0 1 1 2 2 3 3 ");
  EXPECT_EQ(countOf(doc, "<vcount>"), 0u);
  EXPECT_EQ(lineWith(doc, "<geometry"), "    <geometry id=\"head_\" name=\"head_\">");
}

TEST_F(Collada, MaterialNamesWrapAfter999) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n";
  for (int g = 0; g < 1001; ++g) {
    char name[16];
    std::snprintf(name, sizeof name, "g n%04d\n", g);
    text += name;
    text += "f 1 2 3\n";
  }
  std::string doc = write(text, 0, true);
  EXPECT_EQ(countOf(doc, "<material id=\"material_001\""), 2u);
  EXPECT_EQ(countOf(doc, "<material id=\"material_000\""), 1u);
  EXPECT_EQ(countOf(doc, "<material id=\"material_999\""), 1u);
  EXPECT_EQ(countOf(doc, "<effect id=\"material_000-fx\">"), 1u);
  // Group n1000 (index 1000) is the last in key order and uses material_001.
  size_t last = doc.rfind("<triangles material=\"");
  EXPECT_EQ(doc.compare(last, 34, "<triangles material=\"material_001\""), 0);
}

// ---- failures ---------------------------------------------------------------------

TEST_F(Collada, OpenFailuresAndNullPaths) {
  std::string in = obj(kQuadObj);
  std::string out = dir + "/none/box.dae";
  EXPECT_EQ(OBJtoCOLLADA(in.c_str(), &out[0], 0), -2.0f);
  EXPECT_EQ(OBJtoCOLLADATris(in.c_str(), &out[0], 1), -2.0f);
  std::string missing = dir + "/missing.obj";
  std::string target = dir + "/kept.dae";
  ASSERT_TRUE(writeText(target, "old"));
  EXPECT_EQ(OBJtoCOLLADA(missing.c_str(), &target[0], 0), -1.0f);
  EXPECT_EQ(readText(target), "old");
  fileHeader.modelName = "unchanged";
  EXPECT_EQ(OBJtoCOLLADA(nullptr, &target[0], 0), -9.0f);
  EXPECT_EQ(OBJtoCOLLADATris(in.c_str(), nullptr, 0), -9.0f);
  EXPECT_EQ(fileHeader.modelName, "unchanged");
}

TEST_F(Collada, ReaderFillsTheModel) {
  colModel m;
  const std::string text = "v 1 2 3\nvt 0.5 0.25\nv 4 5 6\nvt 1 1\nvn 0 0 1\n"
                           "g b\r\nf 1/1 2/2 -1/-1\ng a\nf 1 2 1\ng b\r\nf 2/1 1/2 2/1\n";
  ASSERT_EQ(readFromText(text, 1, m), fennick::Status::Ok);
  EXPECT_EQ(m.positionCount, 2u);
  EXPECT_EQ(m.textureCount, 2u);
  EXPECT_EQ(m.positionRuns.size(), 2u);  // interleaved with texture lines
  EXPECT_EQ(std::string(m.textArena.begin(), m.textArena.end()), "1 2 3  0.5 0.25 4 5 6  1 1 ");
  EXPECT_EQ(m.positionRuns[1].offset, 16u);
  EXPECT_EQ(m.positionRuns[1].bytes, 6u);
  ASSERT_EQ(m.vertices.size, 2u);
  EXPECT_EQ(m.vertices[1].z, 6.0f);
  ASSERT_EQ(m.groupCount, 2);
  EXPECT_EQ(m.groupTable.at("g b\r"), 0);
  EXPECT_EQ(m.groupTable.at("g a"), 1);
  const colGroup& b = m.groups[0];
  EXPECT_EQ(b.faceCount, 2);
  auto list = [](const textops::PodArray<int32_t>& a) {
    return std::vector<int32_t>(a.begin(), a.end());
  };
  EXPECT_EQ(list(b.vertexIndices), (std::vector<int32_t>{0, 1, 1, 1, 0, 1}));
  EXPECT_EQ(list(b.textureIndices), (std::vector<int32_t>{0, 1, 1, 0, 1, 0}));
  EXPECT_EQ(b.faceNormals.size, 6u);
  EXPECT_EQ(m.totalCorners, 9);
  colModel none;
  EXPECT_EQ(readFromText(text, 0, none), fennick::Status::Ok);
  EXPECT_TRUE(none.vertices.empty());  // positions are parsed only for normals
  // The same text read from its file gives the same model.
  colModel fromFile;
  textops::FilePtr file = textops::openRead(obj(text).c_str());
  ASSERT_EQ(colladaops::readModel(file.get(), 1, fromFile), fennick::Status::Ok);
  EXPECT_EQ(std::string(fromFile.textArena.begin(), fromFile.textArena.end()),
            std::string(m.textArena.begin(), m.textArena.end()));
  EXPECT_EQ(fromFile.totalCorners, m.totalCorners);
  EXPECT_EQ(colladaops::readModel(static_cast<std::FILE*>(nullptr), 0, none),
            fennick::Status::OpenFailed);
}

}  // namespace
