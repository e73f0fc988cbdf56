// No call costs a user a file: an output that names one of the call's inputs
// (the same path, another spelling, a symbolic or a hard link) is refused
// before anything is written, and a copy of a private file stays private.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Edition.h"
#include "TestSupport.h"
#include "VyXWriter.h"

namespace {

using testsupport::fileExists;
using testsupport::readBytes;
using Bytes = std::vector<uint8_t>;
using PathText = float (*)(const char*, char*);
using PathLevel = float (*)(const char*, double);

std::string sample(const char* name) { return std::string(FENNICK_SAMPLES_DIR) + "/" + name; }

// A call with an input path and an output path.
using Call = std::function<float(const std::string& in, const std::string& out)>;

Call exportCall(Edition& e, const char* name, double number = 0) {
  return [&e, name, number](const std::string& in, const std::string& out) {
    std::string block = out;
    return e.call(name, in.c_str(), number, &block[0]);
  };
}

Call conversion(const char* mangled) {
  return [mangled](const std::string& in, const std::string& out) {
    auto f = reinterpret_cast<PathText>(dll().symbol(mangled));
    EXPECT_NE(f, nullptr) << mangled;
    std::string block = out;
    return f ? f(in.c_str(), &block[0]) : -12345.0f;
  };
}

// The face-ID list the OBJ conversion needs, filled anew before each call.
Call objConversion() {
  Call toObj = conversion(decorated::writeOBJfromVyx);
  return [toObj](const std::string& in, const std::string& out) {
    auto faceIDs = reinterpret_cast<PathLevel>(dll().symbol(decorated::GetFaceIDsVyx));
    EXPECT_EQ(faceIDs ? faceIDs(sample("grid_faces.vyx").c_str(), 1) : -1.0f, 12.0f);
    return toObj(in, out);
  };
}

struct Writer {
  const char* name;
  Call call;
  Bytes input;
  float refused;  // what the call answers for an output that is its input
};

// A VyX file whose colour block has the wrong tag: the OBJ conversion fails
// after its header and vertex lines.
Bytes wrongColourTag() {
  Bytes bytes = readBytes(sample("grid.vyx"));
  const size_t colours = 32 + 16 + 12 * 20;
  bytes[colours] = 0x77;
  return bytes;
}

std::vector<Writer> writers() {
  const Bytes vyx = readBytes(sample("grid.vyx"));
  const Bytes grid = readBytes(sample("grid_8x8.obj"));
  const Bytes cube = readBytes(sample("cube.obj"));
  return {
      {"writeOBJfromVyx", objConversion(), vyx, -21.0f},
      {"writeOBJfromVyx, wrong colour tag", objConversion(), wrongColourTag(), -21.0f},
      {"ReadVertColorVyx", conversion(decorated::ReadVertColorVyx), vyx, -21.0f},
      {"writeCollada", exportCall(dll(), "writeCollada", 1), cube, -6.0f},
      {"writeColladaTris", exportCall(dll(), "writeColladaTris", 2), cube, -6.0f},
      {"OBJtoSculpty", exportCall(dll(), "OBJtoSculpty"), grid, -69.0f},
      {"ScaleUVs", exportCall(dll(), "ScaleUVs", 0.5), grid, -3.0f},
      {"FileCopyTo (FennickDLL)", exportCall(dll(), "FileCopyTo"), cube, 0.0f},
      {"FileCopyTo (FennickDLL02)", exportCall(dll02(), "FileCopyTo"), cube, 0.0f},
      {"CompressFile", exportCall(dll02(), "CompressFile"), cube, -3.0f},
      {"DecompressFile", exportCall(dll02(), "DecompressFile"), Bytes{3, 'a', 2, 'b'}, -3.0f},
  };
}

TEST(Outputs, AWriterNeverWritesOverItsInput) {
  for (const Writer& w : writers()) {
    const std::string dir = testsupport::makeTempDir("outputs");
    const std::string in = dir + "/input.dat";
    ASSERT_TRUE(testsupport::writeBytes(in, w.input));
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    ASSERT_EQ(symlink(in.c_str(), (dir + "/soft.dat").c_str()), 0);
    ASSERT_EQ(link(in.c_str(), (dir + "/hard.dat").c_str()), 0);
    const std::string spellings[] = {in, dir + "/./input.dat", dir + "/sub/../input.dat",
                                     dir + "//input.dat", dir + "/soft.dat", dir + "/hard.dat"};
    for (const std::string& out : spellings) {
      EXPECT_EQ(w.call(in, out), w.refused) << w.name << " onto " << out;
      EXPECT_EQ(readBytes(in), w.input) << w.name << " onto " << out;
    }
    // The input named through the link, the output by its own path.
    EXPECT_EQ(w.call(dir + "/soft.dat", in), w.refused) << w.name;
    EXPECT_EQ(readBytes(in), w.input) << w.name;
  }
  // A refused conversion keeps its face-ID list; later tests start without.
  auto* faceIDs = static_cast<std::vector<uint32_t>*>(dll().symbol("faceID"));
  ASSERT_NE(faceIDs, nullptr);
  EXPECT_FALSE(faceIDs->empty());
  faceIDs->clear();
}

// Every tile file name is checked before the first is written: the input
// standing as tile 0, or a link to it standing as tile 1.
TEST(Outputs, NoTileFileIsTheSplitsInput) {
  Call split = conversion(decorated::GetUVsFromVyX);
  auto* names = static_cast<std::vector<std::string>*>(dll().symbol(decorated::UVTileStr));
  ASSERT_NE(names, nullptr);
  const Bytes vyx = readBytes(sample("grid.vyx"));  // two tiles
  const std::string dir = testsupport::makeTempDir("outputs_tiles");
  const std::string in = dir + "/m0.VyX";
  ASSERT_TRUE(testsupport::writeBytes(in, vyx));
  EXPECT_EQ(split(in, dir + "/m.obj"), -21.0f);
  EXPECT_EQ(split(in, dir + "/./m.x"), -21.0f);
  EXPECT_EQ(readBytes(in), vyx);
  EXPECT_FALSE(fileExists(dir + "/m1.VyX"));
  EXPECT_TRUE(names->empty());

  ASSERT_EQ(symlink(in.c_str(), (dir + "/t1.VyX").c_str()), 0);
  EXPECT_EQ(split(in, dir + "/t.obj"), -21.0f);
  EXPECT_EQ(readBytes(in), vyx);
  EXPECT_FALSE(fileExists(dir + "/t0.VyX"));
  // Any other name splits as usual.
  EXPECT_EQ(split(in, dir + "/u.obj"), 2.0f);
  EXPECT_EQ(*names, (std::vector<std::string>{"_u0_v0", "_u1_v0"}));
  EXPECT_EQ(readBytes(in), vyx);
  names->clear();
}

mode_t modeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

// A copy the call creates gets the source's permission bits masked by the
// umask, as cp gives them: never more than the source had.
TEST(Outputs, ACopyOfAPrivateFileStaysPrivate) {
  const mode_t saved = umask(022);
  for (Edition* e : {&dll(), &dll02()}) {
    const std::string dir = testsupport::makeTempDir("outputs_mode");
    const std::string src = dir + "/src.bin", dst = dir + "/dst.bin";
    const Bytes bytes = {1, 2, 3, 4, 5};
    ASSERT_TRUE(testsupport::writeBytes(src, bytes));
    struct Case {
      mode_t mask, source, copy;
    };
    for (const Case& c : {Case{022, 0600, 0600}, Case{022, 0640, 0640}, Case{022, 0755, 0755},
                          Case{022, 0666, 0644}, Case{022, 0400, 0400}, Case{077, 0644, 0600},
                          Case{002, 0664, 0664}, Case{022, 04755, 0755}}) {
      umask(c.mask);
      ASSERT_EQ(chmod(src.c_str(), c.source), 0);
      // Whether a destination was there or not: the copy is made anew.
      for (bool existed : {false, true}) {
        unlink(dst.c_str());
        if (existed) {
          ASSERT_TRUE(testsupport::writeBytes(dst, {9}));
          ASSERT_EQ(chmod(dst.c_str(), 0666), 0);
        }
        std::string block = dst;
        EXPECT_EQ(e->call("FileCopyTo", src.c_str(), 0, &block[0]), 0.0f);
        EXPECT_EQ(modeOf(dst), c.copy) << std::oct << "source " << c.source << ", umask "
                                       << c.mask << (existed ? ", replacing a file" : "");
        EXPECT_EQ(readBytes(dst), bytes);
      }
    }
    umask(022);
  }
  umask(saved);
}

}  // namespace
