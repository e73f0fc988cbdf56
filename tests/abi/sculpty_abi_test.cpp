#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <sstream>

#include "Edition.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::makeTempDir;
using testsupport::readBytes;
using testsupport::readText;
using testsupport::writeText;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::string samplePath(const char* name) { return std::string(FENNICK_SAMPLES_DIR) + "/" + name; }

float callPaths(const char* name, const std::string& text, double number,
                const std::string& block) {
  std::string copy = block;
  return dll().call(name, text.c_str(), number, &copy[0]);
}

// ---- OBJtoSculpty ---------------------------------------------------------

TEST(SculptyExport, OnlyFennickDLLCarriesTheExportsAndTheirFunctions) {
  for (const char* name : {"OBJtoSculpty", "ScaleUVs"}) {
    EXPECT_NE(dll().fn(name), nullptr) << name;
    EXPECT_EQ(dll02().fn(name), nullptr) << name;
  }
  for (const char* name : {decorated::exportSculpty, decorated::getPadding}) {
    EXPECT_NE(dll().symbol(name), nullptr) << name;
    EXPECT_EQ(dll02().symbol(name), nullptr) << name;
  }
}

TEST(SculptyExport, NullArgumentsGiveMinus9AndTouchNoFile) {
  std::string dir = makeTempDir("sculptyabi");
  std::string bmp = dir + "/m.bmp";
  std::string obj = samplePath("grid_8x8.obj");
  EXPECT_EQ(dll().call("OBJtoSculpty", nullptr, 1, &bmp[0]), -9.0f);
  EXPECT_EQ(dll().call("OBJtoSculpty", obj.c_str(), 1, nullptr), -9.0f);
  EXPECT_EQ(dll().call("OBJtoSculpty", nullptr, kNaN, nullptr), -9.0f);
  EXPECT_FALSE(fileExists(bmp));
}

TEST(SculptyExport, ForwardsToTheConversionWhateverTheFlag) {
  using Export = float (*)(const char*, const char*, bool);
  auto exportSculpty = reinterpret_cast<Export>(dll().symbol(decorated::exportSculpty));
  ASSERT_NE(exportSculpty, nullptr);
  std::string dir = makeTempDir("sculptyabi");
  std::string obj = samplePath("grid_8x8.obj");
  ASSERT_EQ(exportSculpty(obj.c_str(), (dir + "/direct.bmp").c_str(), false), 0.0f);
  std::vector<uint8_t> direct = readBytes(dir + "/direct.bmp");
  ASSERT_EQ(direct.size(), 54u + 16 * 48u);
  for (double number : {0.0, -0.0, 0.001, -7.0, kNaN, kInf}) {
    std::string bmp = dir + "/m.bmp";
    std::remove(bmp.c_str());
    EXPECT_EQ(callPaths("OBJtoSculpty", obj, number, bmp), 0.0f) << number;
    EXPECT_EQ(readBytes(bmp), direct) << number;
  }
  EXPECT_EQ(callPaths("OBJtoSculpty", dir + "/none.obj", 1, dir + "/x.bmp"), -1.0f);
  EXPECT_EQ(callPaths("OBJtoSculpty", obj, 1, dir + "/no/x.bmp"), -4.0f);
  EXPECT_FALSE(fileExists(dir + "/x.bmp"));

  using Padding = int (*)(int);
  auto getPadding = reinterpret_cast<Padding>(dll().symbol(decorated::getPadding));
  ASSERT_NE(getPadding, nullptr);
  EXPECT_EQ(getPadding(6), 2);
  EXPECT_EQ(getPadding(16), 0);
}

// ---- ScaleUVs -------------------------------------------------------------

// The scaling written plainly with the standard streams and printf.
std::string referenceScale(const std::string& text, double f) {
  const float offset = float((1.0 - f) * 0.5);
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line)) {
    if (line.size() >= 2 && line[0] == 'v' && line[1] == 't') {
      std::istringstream s(line.size() > 3 ? line.substr(3) : std::string());
      out += "vt ";
      float n;
      while (s >> n) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", double(float(double(n) * f + double(offset))));
        out += buf;
        out += ' ';
      }
      out += '\n';
    } else {
      out += line + '\n';
    }
  }
  return out;
}

std::string randomObjText(std::mt19937& rng) {
  std::uniform_int_distribution<int> kind(0, 15), small(0, 9);
  std::uniform_real_distribution<double> unit(-0.2, 1.2);
  const char* formats[] = {"%.9g", "%g", "%.3f", "%e", "%.1f", "%.12g"};
  // The last two are read by the stream rules (libstdc++'s streams) as 0,
  // stopping at the "x", and as -0; libc++'s streams read hexadecimal and
  // refuse a result that underflows, so there the plain stream version is no
  // reference for them.
  const char* odd[] = {"1e-7", ".5", "5.", "-0", "+0.25", "1e39", "1e",
                       "abc", "3.5.2", "1e+2", "7", "-.75e1", "0x10", "-1e-50"};
#if defined(_LIBCPP_VERSION)
  const int oddCount = 12;
#else
  const int oddCount = 14;
#endif
  auto number = [&] {
    char buf[64];
    if (small(rng) == 0)
      return std::string(odd[std::uniform_int_distribution<int>(0, oddCount - 1)(rng)]);
    std::snprintf(buf, sizeof buf, formats[small(rng) % 6], unit(rng));
    return std::string(buf);
  };
  std::string text;
  int lines = 1 + small(rng) * 30;
  for (int i = 0; i < lines; ++i) {
    std::string line;
    switch (kind(rng)) {
      case 0: line = "v " + number() + " " + number() + " " + number(); break;
      case 1: line = "vn 0 0 1"; break;
      case 2: line = "f 1/1/1 2/2/2 3/3/3"; break;
      case 3: line = "# vt 0.5 comment"; break;
      case 4: line = ""; break;
      case 5: line = "vt"; break;
      case 6: line = "vt " + number() + " " + number() + " word 0.5"; break;
      case 7: line = "vt\t" + number() + "\t" + number(); break;
      case 8: line = "vt " + number() + " " + number() + " " + number(); break;
      case 9: line = "vtx" + number(); break;
      case 10: line = "vt   " + number() + "    " + number() + "  "; break;
      default: line = "vt " + number() + " " + number(); break;
    }
    if (small(rng) < 3) line += "\r";
    text += line;
    if (i + 1 < lines || small(rng) < 7) text += "\n";
  }
  return text;
}

class ScaleUVsCalls : public ::testing::Test {
 protected:
  std::string dir = makeTempDir("scaleuvs");
  std::string in = dir + "/in.obj";
  std::string out = dir + "/out.obj";
  std::string scale(const std::string& text, double f) {
    EXPECT_TRUE(writeText(in, text));
    std::remove(out.c_str());
    EXPECT_EQ(callPaths("ScaleUVs", in, f, out), 0.0f);
    return readText(out);
  }
};

TEST_F(ScaleUVsCalls, RewritesTextureLinesAndCopiesTheRest) {
  EXPECT_EQ(scale("vt 0.25 0.75\nv 1 2 3\n", 0.5), "vt 0.375 0.625 \nv 1 2 3\n");
  EXPECT_EQ(scale("vt 0.1234567 0.5\n", 1.0), "vt 0.123457 0.5 \n");
  EXPECT_EQ(scale("vt 0.1 0.9 0.3\nvt 7 -3\n", 0.0), "vt 0.5 0.5 0.5 \nvt 0.5 0.5 \n");
  EXPECT_EQ(scale("vt 0.00001 0.5\n", 1.0), "vt 1e-05 0.5 \n");
  // Carriage returns stay on other lines and leave rewritten ones; a word
  // ends the numbers; a last line gets its line feed.
  EXPECT_EQ(scale("v 1 2 3\r\nvt 0.5 0.5\r\n# c\r\n\r\nvt 1 1 word 2\nf 1 2 3", 1.0),
            "v 1 2 3\r\nvt 0.5 0.5 \n# c\r\n\r\nvt 1 1 \nf 1 2 3\n");
  // The three prefix characters are dropped as they are; "vt" alone has no
  // numbers.
  EXPECT_EQ(scale("vt\nvt\r\nvtx0.5\nvt0.25 1\n", 1.0), "vt \nvt \nvt 0.5 \nvt 0.25 1 \n");
  EXPECT_EQ(scale("", 0.5), "");
  EXPECT_EQ(scale("\n\n", 0.5), "\n\n");
}

TEST_F(ScaleUVsCalls, MatchesThePlainStreamVersionOnGeneratedFiles) {
  std::mt19937 rng(11);
  const double factors[] = {0.0, 1.0, 0.5, 0.25, 1.0 / 3.0, 0.9999999, 1e-9};
  for (int round = 0; round < 300; ++round) {
    std::string text = randomObjText(rng);
    double f = factors[round % 7];
    ASSERT_EQ(scale(text, f), referenceScale(text, f)) << "round " << round << "\n" << text;
  }
}

TEST_F(ScaleUVsCalls, LongFilesCrossTheReadBlocks) {
  std::string text;
  for (int i = 0; i < 200000; ++i) {
    text += "v 1 2 3\nvt " + std::to_string(i % 1000 / 1000.0) + " 0.5\n";
    if (i % 7 == 0) text += std::string(size_t(i % 300), 'x') + "\r\n";
  }
  EXPECT_EQ(scale(text, 0.75), referenceScale(text, 0.75));
}

TEST_F(ScaleUVsCalls, FactorRangeIsCheckedFirst) {
  ASSERT_TRUE(writeText(in, "vt 0.5 0.5\n"));
  for (double f : {-0.1, 1.5, -kInf, kInf, -1e-300, 1.0000001}) {
    EXPECT_EQ(dll().call("ScaleUVs", nullptr, f, nullptr), -5.0f) << f;
    EXPECT_EQ(callPaths("ScaleUVs", in, f, out), -5.0f) << f;
  }
  EXPECT_FALSE(fileExists(out));
  // In range (a NaN passes) with a path missing: 0 and nothing done.
  EXPECT_EQ(dll().call("ScaleUVs", in.c_str(), 1.0, nullptr), 0.0f);
  EXPECT_EQ(dll().call("ScaleUVs", nullptr, 0.0, &out[0]), 0.0f);
  EXPECT_EQ(dll().call("ScaleUVs", nullptr, kNaN, nullptr), 0.0f);
  EXPECT_FALSE(fileExists(out));
  EXPECT_EQ(scale("vt 0.5 0.5\nv 0 0 0\n", -0.0), "vt 0.5 0.5 \nv 0 0 0\n");
  EXPECT_EQ(scale("vt 0.5 0.5\n", kNaN), "vt nan nan \n");
}

TEST_F(ScaleUVsCalls, FailuresCreateNoOutput) {
  EXPECT_EQ(callPaths("ScaleUVs", dir + "/none.obj", 0.5, out), -1.0f);
  EXPECT_FALSE(fileExists(out));
  ASSERT_TRUE(writeText(in, "vt 0.5 0.5\n"));
  EXPECT_EQ(callPaths("ScaleUVs", in, 0.5, dir + "/no/out.obj"), -2.0f);
  if (fileExists("/dev/full")) {
    EXPECT_EQ(callPaths("ScaleUVs", in, 0.5, "/dev/full"), -4.0f);
  }
}

TEST_F(ScaleUVsCalls, TheInputIsNeverTheOutput) {
  const std::string text = "v 0 0 0\nvt 0.25 0.75\n";
  ASSERT_TRUE(writeText(in, text));
  ASSERT_EQ(symlink(in.c_str(), (dir + "/soft.obj").c_str()), 0);
  ASSERT_EQ(link(in.c_str(), (dir + "/hard.obj").c_str()), 0);
  for (std::string same : {in, dir + "/./in.obj", dir + "//in.obj", dir + "/soft.obj",
                           dir + "/hard.obj"}) {
    EXPECT_EQ(callPaths("ScaleUVs", in, 0.5, same), -3.0f) << same;
    EXPECT_EQ(readText(in), text) << same;
  }
  // Through the link as the input, too.
  EXPECT_EQ(callPaths("ScaleUVs", dir + "/soft.obj", 0.5, in), -3.0f);
  EXPECT_EQ(readText(in), text);
}

}  // namespace
