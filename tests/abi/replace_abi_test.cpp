// Outputs are replaced, never overwritten where they stand: the split stays
// in the folder it was given, an output made from a private input is
// private too, and no output name swapped under a running call makes it
// write over its input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Edition.h"
#include "TestSupport.h"

namespace {

using testsupport::fileExists;
using testsupport::readBytes;
using testsupport::writeBytes;
using Bytes = std::vector<uint8_t>;
using PathText = float (*)(const char*, char*);

std::string sample(const char* name) { return std::string(FENNICK_SAMPLES_DIR) + "/" + name; }

// Every name in a folder, one level, dot files too, sorted.
std::vector<std::string> allNames(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A fresh temporary folder, removed with all it holds when the test ends,
// also when an assertion ends it early.
struct TempDir {
  std::string path;
  explicit TempDir(const char* tag) : path(testsupport::makeTempDir(tag)) {}
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

float split(const std::string& in, const std::string& out) {
  auto f = reinterpret_cast<PathText>(dll().symbol(decorated::GetUVsFromVyX));
  EXPECT_NE(f, nullptr);
  std::string block = out;
  const float r = f ? f(in.c_str(), &block[0]) : -12345.0f;
  auto* names = static_cast<std::vector<std::string>*>(dll().symbol(decorated::UVTileStr));
  if (names) names->clear();
  return r;
}

// The tile files go into the folder named, whatever dots its path holds;
// only the file name's extension is cut.
TEST(Replace, TheSplitStaysInItsFolder) {
  const Bytes vyx = readBytes(sample("grid.vyx"));  // two tiles
  const Bytes mine = {'m', 'i', 'n', 'e'};
  const TempDir temp("replace_split");
  const std::string& dir = temp.path;
  const std::string in = dir + "/grid.vyx";
  ASSERT_TRUE(writeBytes(in, vyx));
  ASSERT_EQ(mkdir((dir + "/proj.v2").c_str(), 0755), 0);
  ASSERT_TRUE(writeBytes(dir + "/proj0.VyX", mine));  // the user's, beside the folder

  EXPECT_EQ(split(in, dir + "/proj.v2/split"), 2.0f);
  EXPECT_EQ(allNames(dir + "/proj.v2"), (std::vector<std::string>{"split0.VyX", "split1.VyX"}));
  EXPECT_EQ(allNames(dir), (std::vector<std::string>{"grid.vyx", "proj.v2", "proj0.VyX"}));
  EXPECT_EQ(readBytes(dir + "/proj0.VyX"), mine);

  EXPECT_EQ(split(in, dir + "/proj.v2/other.obj"), 2.0f);
  EXPECT_TRUE(fileExists(dir + "/proj.v2/other0.VyX"));
  EXPECT_TRUE(fileExists(dir + "/proj.v2/other1.VyX"));
  EXPECT_EQ(readBytes(dir + "/proj0.VyX"), mine);

  // A relative name in the current folder.
  char* cwd = getcwd(nullptr, 0);
  ASSERT_NE(cwd, nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  const float relative = split(in, "./model");
  ASSERT_EQ(chdir(cwd), 0);
  free(cwd);
  EXPECT_EQ(relative, 2.0f);
  EXPECT_EQ(allNames(dir), (std::vector<std::string>{"grid.vyx", "model0.VyX", "model1.VyX",
                                                     "proj.v2", "proj0.VyX"}));
}

mode_t modeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 07777;
}

// An output is never readable by more users than its input: with the umask
// 022, the outputs of a 0600 input are 0600, also where the output stood
// before as 0644.
TEST(Replace, OutputsOfAPrivateInputArePrivate) {
  const mode_t saved = umask(022);
  const TempDir temp("replace_mode");
  const std::string& dir = temp.path;
  const std::string obj = dir + "/grid.obj", bin = dir + "/secret.bin";
  ASSERT_TRUE(writeBytes(obj, readBytes(sample("grid_8x8.obj"))));
  ASSERT_TRUE(writeBytes(bin, {1, 1, 1, 2, 3, 3, 4}));
  ASSERT_EQ(chmod(obj.c_str(), 0600), 0);
  ASSERT_EQ(chmod(bin.c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::function<float(const std::string& out)> call;
  };
  auto run = [](Edition& e, const char* name, const std::string& in, double number) {
    return [&e, name, in, number](const std::string& out) {
      std::string block = out;
      return e.call(name, in.c_str(), number, &block[0]);
    };
  };
  const Case cases[] = {
      {"CompressFile", run(dll02(), "CompressFile", bin, 0)},
      {"ScaleUVs", run(dll(), "ScaleUVs", obj, 0.5)},
      {"writeCollada", run(dll(), "writeCollada", obj, 1)},
      {"writeColladaTris", run(dll(), "writeColladaTris", obj, 1)},
  };
  for (const Case& c : cases) {
    for (bool existed : {false, true}) {
      const std::string out = dir + "/out.dat";
      unlink(out.c_str());
      if (existed) {
        ASSERT_TRUE(writeBytes(out, {'o', 'l', 'd'}));
        ASSERT_EQ(chmod(out.c_str(), 0644), 0);
      }
      EXPECT_GE(c.call(out), 0.0f) << c.name;  // 0, or a compression ratio
      EXPECT_EQ(modeOf(out), 0600u) << std::oct << c.name << " of a 0600 input: mode "
                                    << modeOf(out)
                                    << (existed ? ", over a 0644 file" : "");
    }
  }
  // The round trip gives back the private file as private.
  const std::string packed = dir + "/secret.rle", back = dir + "/secret.out";
  std::string block = packed;
  ASSERT_GT(dll02().call("CompressFile", bin.c_str(), 0, &block[0]), 0.0f);
  block = back;
  EXPECT_EQ(dll02().call("DecompressFile", packed.c_str(), 0, &block[0]), 0.0f);
  EXPECT_EQ(readBytes(back), readBytes(bin));
  EXPECT_EQ(modeOf(packed), 0600u) << std::oct << "compressed: mode " << modeOf(packed);
  EXPECT_EQ(modeOf(back), 0600u) << std::oct << "decompressed: mode " << modeOf(back);
  umask(saved);
}

// Another thread swaps the output's name between a plain file and a link to
// the input (atomic renames) while the call runs again and again. The call
// may fail or succeed; its input must never change. Bounded in time, and
// over at the first damage.
TEST(Replace, AnOutputSwappedForALinkNeverReachesTheInput) {
  using Clock = std::chrono::steady_clock;
  struct Writer {
    const char* name;
    Edition* edition;
    double number;
    const char* sampleName;
  };
  const Writer writers[] = {
      {"CompressFile", &dll02(), 0, "cube.obj"},
      {"ScaleUVs", &dll(), 0.5, "grid_8x8.obj"},
      {"FileCopyTo", &dll(), 0, "cube.obj"},
      {"FileCopyTo", &dll02(), 0, "cube.obj"},
      {"writeCollada", &dll(), 1, "cube.obj"},
  };
  for (const Writer& w : writers) {
    const TempDir temp("replace_race");
    const std::string& dir = temp.path;
    const std::string in = dir + "/input.obj", out = dir + "/out.dat";
    const std::string link = dir + "/swap.link", plain = dir + "/swap.plain";
    const Bytes input = readBytes(sample(w.sampleName));
    ASSERT_TRUE(writeBytes(in, input));
    ASSERT_TRUE(writeBytes(out, {'x'}));
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
      while (!stop.load()) {
        unlink(link.c_str());
        if (symlink(in.c_str(), link.c_str()) == 0) rename(link.c_str(), out.c_str());
        if (writeBytes(plain, {'x'})) rename(plain.c_str(), out.c_str());
      }
    });
    const auto end = Clock::now() + std::chrono::milliseconds(2000);
    int calls = 0;
    bool damaged = false;
    while (!damaged && Clock::now() < end) {
      std::string block = out;
      w.edition->call(w.name, in.c_str(), w.number, &block[0]);
      ++calls;
      damaged = readBytes(in) != input;
    }
    stop = true;
    swapper.join();
    EXPECT_FALSE(damaged) << w.name << " changed its input on call " << calls << " ("
                          << readBytes(in).size() << " bytes now, " << input.size()
                          << " before)";
  }
}

}  // namespace
