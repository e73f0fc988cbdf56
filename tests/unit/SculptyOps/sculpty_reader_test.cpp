#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "SculptyReader.h"

namespace {

using sculpty::Mesh;

// Reads exactly the bytes of `text` (a heap block of that size, so that the
// sanitizer build sees any read past it).
Mesh readWith(void (*reader)(Mesh&, const char*, const char*), const std::string& text) {
  std::unique_ptr<char[]> bytes(new char[text.size()]);
  std::memcpy(bytes.get(), text.data(), text.size());
  Mesh mesh;
  reader(mesh, bytes.get(), bytes.get() + text.size());
  return mesh;
}

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// The fast line paths must leave the mesh exactly as the general rules do.
void expectSameMesh(const std::string& text) {
  const Mesh fast = readWith(sculpty::readObjLines, text);
  const Mesh plain = readWith(sculpty::readObjLinesPlain, text);
  SCOPED_TRACE(testing::Message() << "text:\n" << text);
  EXPECT_TRUE(sameBits(fast.vertices, plain.vertices));
  EXPECT_TRUE(sameBits(fast.texIds, plain.texIds));
  EXPECT_TRUE(sameBits(fast.faces, plain.faces));
  EXPECT_EQ(fast.firstNonQuad, plain.firstNonQuad);
  EXPECT_EQ(std::memcmp(&fast.largest, &plain.largest, 4), 0);
  EXPECT_EQ(std::memcmp(&fast.smallest, &plain.smallest, 4), 0);
  EXPECT_TRUE(sameBits(fast.us.values, plain.us.values));
  EXPECT_TRUE(sameBits(fast.vs.values, plain.vs.values));
}

// Text in and around the forms the fast paths take.
struct LineMaker {
  std::mt19937 rng;
  explicit LineMaker(unsigned seed) : rng(seed) {}
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  std::string digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += char('0' + pick(10));
    return s;
  }
  std::string numeral() {
    switch (pick(12)) {
      case 0: return "-" + digits(1 + pick(2)) + "." + digits(6);
      case 1: return digits(1) + "." + digits(6);
      case 2: return (pick(2) ? "-" : "+") + digits(1 + pick(8)) + "." + digits(1 + pick(8));
      case 3: return digits(1 + pick(9));
      case 4: {  // near the 2^24 mantissa limit
        const char* edge[] = {"16777216", "16777217", "1677721.6", "1.6777217", "167772.15",
                              "0.16777216", "9999999", "0.9999999", "-0.000000", "00000001.5"};
        return edge[pick(10)];
      }
      case 5: return digits(1) + "." + digits(2) + (pick(2) ? "e" : "E") + digits(1);
      case 6: return pick(2) ? "." + digits(3) : digits(2) + ".";
      case 7: return digits(1) + "." + digits(3) + "." + digits(2);
      case 8: return pick(2) ? "-" : "abc";
      case 9: return "1e40";
      default: return (pick(2) ? "-0." : "0.") + digits(6);
    }
  }
  std::string space() {
    const char* s[] = {" ", " ", " ", " ", "  ", "\t", " \t", "\v", "\f", "\r"};
    return s[pick(10)];
  }
  std::string index() {
    switch (pick(16)) {
      case 0: return digits(8 + pick(3));
      case 1: return "-" + digits(1 + pick(3));
      case 2: return "0";
      case 3: return "+7";
      default: return std::to_string(1 + pick(pick(2) ? 9 : 9999999));
    }
  }
  // Mostly plain corners, so that whole lines of them occur.
  std::string corner() {
    std::string v = index();
    if (pick(4)) return v + "/" + (pick(2) ? v : index()) + (pick(6) ? "" : "/" + index());
    switch (pick(7)) {
      case 0: return v;
      case 1: return v + "//" + index();
      case 2: return v + "/" + index() + "/";
      case 3: return v + "/";
      case 4: return "/" + v;
      case 5: return v + "/" + v + (pick(2) ? "7" : "x");
      default: return v + "/\t" + index();
    }
  }
  std::string line() {
    std::string s;
    const int kind = pick(10);
    if (kind < 3) {
      s = pick(8) ? "v " : "v";
      const int n = pick(8) ? 3 : pick(5);
      for (int i = 0; i < n; ++i) s += (i ? space() : std::string(pick(6) ? "" : " ")) + numeral();
    } else if (kind < 5) {
      s = pick(8) ? "vt " : "vt";
      const int n = pick(8) ? 2 : pick(4);
      for (int i = 0; i < n; ++i) s += (i ? space() : std::string(pick(6) ? "" : " ")) + numeral();
    } else if (kind < 9) {
      s = pick(10) ? "f " : "f";
      const int n = pick(5) ? 4 : pick(7);
      for (int i = 0; i < n; ++i) s += (i ? (pick(8) ? " " : space()) : "") + corner();
    } else {
      // Lines that a reader running past its line feed would take numbers from.
      const char* other[] = {"# comment 1 2 3", "vn 0 0 1", "g part", "", "v", "f", "vtx 1 2",
                             "2.5 3.5 4.5", " -1.25", "7/7 8/8"};
      s = other[pick(10)];
    }
    if (pick(6) == 0) {
      const char* tail[] = {" ", " junk 1.5", "\r", "\r5/5", "\t", "\rxv 1 2 3"};
      s += tail[pick(6)];
    }
    return s;
  }
  std::string text(int lines) {
    std::string t;
    const bool crlf = pick(3) == 0;
    for (int i = 0; i < lines; ++i) t += line() + (crlf && pick(4) ? "\r\n" : "\n");
    if (pick(2)) t.pop_back();  // the last line without its line feed
    return t;
  }
};

TEST(SculptyReader, FastPathsLeaveTheMeshAsTheGeneralRules) {
  LineMaker maker(11);
  for (int round = 0; round < 1500; ++round) {
    expectSameMesh(maker.text(1 + maker.pick(60)));
    if (HasFailure()) return;
  }
  // Long runs of plain lines as mesh writers print them.
  std::string grid;
  char line[128];
  for (int i = 0; i < 3000; ++i) {
    std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\nvt %.6f %.6f\nf %d/%d %d/%d %d/%d/%d %d/%d\n",
                  i * 0.37 - 500, -i * 0.001, 1e-3 * (i % 7), (i % 97) / 96.0, (i / 97) / 31.0,
                  i + 1, i + 1, 9 * i + 2, i + 3, 99999 + i, 99999 + i, 7, 1234567, 1234567);
    grid += line;
  }
  expectSameMesh(grid);
  expectSameMesh(grid + "v 1 2 3");
}

TEST(SculptyReader, EveryCutOfAFileReadsAlike) {
  LineMaker maker(23);
  std::string text;
  while (text.size() < 3000) text += maker.text(20) + "\n";
  text += "v -0.123456 0.654321 1.000000\nvt 0.250000 0.750000\nf 1/1 22/22 23/23/1 2/2\r\n";
  for (size_t cut = 0; cut <= text.size(); ++cut) {
    expectSameMesh(text.substr(0, cut));
    if (HasFailure()) return;
  }
}

// The fast numeral path against the stream rule itself, on numerals it takes
// and on numerals at its limits.
TEST(SculptyReader, PlainNumeralsReadAsTheStreamReadsThem) {
  LineMaker maker(5);
  for (int i = 0; i < 100000; ++i) {
    std::string a = maker.numeral(), b = maker.numeral(), c = maker.numeral();
    std::istringstream in(a + " " + b + " " + c);
    float x = 0, y = 0, z = 0;
    in >> x >> y >> z;
    if (in.fail()) continue;  // the failure values are held to the general rules above
    const Mesh mesh = readWith(sculpty::readObjLines, "v " + a + " " + b + " " + c + "\n");
    ASSERT_EQ(mesh.vertices.size(), 1u);
    const float want[3] = {x, y, z};
    EXPECT_EQ(std::memcmp(&mesh.vertices[0], want, sizeof want), 0) << a << " " << b << " " << c;
    if (HasFailure()) return;
  }
}

TEST(SculptyReader, TextureValuesGetIdsInOrderOfFirstSightAndRanksByValue) {
  const Mesh mesh = readWith(sculpty::readObjLines,
                             "vt 0.5 1\nvt -0 0.25\nvt 0.000000 1\nvt 0.25 -1\nvt 0.5 0.25\n");
  ASSERT_EQ(mesh.texIds.size(), 5u);
  const int32_t ids[5][2] = {{0, 0}, {1, 1}, {1, 0}, {2, 2}, {0, 1}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(mesh.texIds[i].column, ids[i][0]) << i;
    EXPECT_EQ(mesh.texIds[i].row, ids[i][1]) << i;
  }
  EXPECT_EQ(mesh.us.ranksById(), (std::vector<int32_t>{2, 0, 1}));
  EXPECT_EQ(mesh.vs.ranksById(), (std::vector<int32_t>{2, 1, 0}));
  // Thousands of distinct values: the table grows and keeps every id.
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "vt " + std::to_string(4999 - i) + " " + std::to_string(i % 3) + "\n";
  const Mesh many = readWith(sculpty::readObjLines, text);
  ASSERT_EQ(many.us.count(), 5000u);
  ASSERT_EQ(many.vs.count(), 3u);
  const std::vector<int32_t> ranks = many.us.ranksById();
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(many.texIds[i].column, i);
    ASSERT_EQ(ranks[size_t(i)], 4999 - i);
  }
}

}  // namespace
