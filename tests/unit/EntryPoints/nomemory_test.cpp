// Memory that runs out: every entry point that answers a result code to
// linked callers, and the operations beside the export layers, answer -99
// whichever of their allocations fails first, and never throw.
//
// This program replaces the global operator new and interposes
// posix_memalign (the library's page-aligned buffers): once a countdown of
// allocations runs out, every later allocation fails until the call
// returns. Each call runs with the countdown at 0, 1, 2, ... until a run
// makes no failing allocation; that run must give what the call gives with
// memory, every earlier one -99. (Under AddressSanitizer a leak on any of
// these failure paths fails the program at exit.)
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "FennickDLL.h"
#include "FileOps.h"
#include "RunLength.h"
#include "ScaleUVs.h"
#include "TestSupport.h"

namespace {

long gAllocationsLeft = -1;  // -1: nothing fails
bool gRanOut = false;

bool allocationFails() {
  if (gAllocationsLeft < 0) return false;
  if (gAllocationsLeft == 0) {
    gRanOut = true;
    return true;
  }
  --gAllocationsLeft;
  return false;
}

}  // namespace

// The replacements allocate with malloc and release with free, which GCC
// cannot tell from a mismatch once it sees both.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  if (!allocationFails()) {
    if (void* p = std::malloc(size ? size : 1)) return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

extern "C" int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
  using PosixMemalign = int (*)(void**, std::size_t, std::size_t);
  static const auto next =
      reinterpret_cast<PosixMemalign>(dlsym(RTLD_NEXT, "posix_memalign"));
  if (allocationFails()) return ENOMEM;
  return next(out, alignment, size);
}

namespace {

const std::string kSamples = FENNICK_SAMPLES_DIR;

// Runs `call` (after `prepare`, with memory) with the countdown at 0, 1, 2,
// ... as described above; `minFailures` is how many allocations the call
// makes at least (so that the sweep cannot pass without testing anything).
// An operation's status as a sweep's number: -99 for NoMemory, 0 for Ok,
// -1 for any other failure.
float asResult(fennick::Status status) {
  if (status == fennick::Status::NoMemory) return -99.0f;
  return status == fennick::Status::Ok ? 0.0f : -1.0f;
}

void sweep(const char* what, const std::function<void()>& prepare,
           const std::function<float()>& call, long minFailures = 1) {
  prepare();
  const float withMemory = call();
  long n = 0;
  for (;; ++n) {
    prepare();
    gRanOut = false;
    gAllocationsLeft = n;
    float result = 0.0f;
    bool threw = false;
    try {
      result = call();
    } catch (...) {
      threw = true;
    }
    gAllocationsLeft = -1;
    ASSERT_FALSE(threw) << what << ": an exception left the call (allocation " << n << ")";
    if (!gRanOut) {
      EXPECT_EQ(result, withMemory) << what;
      break;
    }
    EXPECT_EQ(result, -99.0f) << what << " with allocation " << n << " failing";
    ASSERT_LT(n, 100000) << what << ": no end of allocations";
  }
  EXPECT_GE(n, minFailures) << what << ": fewer allocations than expected";
}

class NoMemory : public ::testing::Test {
 protected:
  std::string dir = testsupport::makeTempDir("nomemory");
  std::string out(const char* name) { return dir + "/" + name; }
  static std::string sample(const char* name) { return kSamples + "/" + name; }
};

TEST_F(NoMemory, VyXFunctions) {
  const std::string grid = sample("grid.vyx"), faces = sample("grid_faces.vyx");
  auto none = [] {};
  sweep("GetUVGroup", none, [&] { return GetUVGroup(grid.c_str()); });
  sweep("GetFaceIDsVyx", none, [&] { return GetFaceIDsVyx(faces.c_str(), 1.0); });
  std::string obj = out("grid.obj");
  sweep("writeOBJfromVyx", [&] { GetFaceIDsVyx(faces.c_str(), 1.0); },
        [&] { return writeOBJfromVyx(grid.c_str(), &obj[0]); }, 2);
  faceID.clear();
  const std::string colourFirst = sample("grid_colours.vyx");
  std::string colours = out("colours.txt");
  sweep("ReadVertColorVyx", none,
        [&] { return ReadVertColorVyx(colourFirst.c_str(), &colours[0]); }, 2);
  char name[64];
  sweep("GetUVTile", none, [&] { return GetUVTile(grid.c_str(), name); }, 2);
  std::string tiles = out("tile.obj");
  sweep("GetUVsFromVyX", none, [&] { return GetUVsFromVyX(grid.c_str(), &tiles[0]); }, 4);
  clearUVTileString();
  const std::string tri = sample("tri.vyx"), triBytes = testsupport::readText(tri);
  std::string target = out("target.vyx");
  sweep("mergeFiles", [&] { testsupport::writeText(target, triBytes); },
        [&] { return mergeFiles(tri.c_str(), &target[0]); }, 3);
}

TEST_F(NoMemory, VertexCountAndCollada) {
  const std::string cube = sample("cube.obj");
  auto none = [] {};
  sweep("getVertexCount", none, [&] { return getVertexCount(cube.c_str()); });
  std::string dae = out("cube.dae");
  for (int mode : {0, 1, 2}) {
    sweep("OBJtoCOLLADA", none, [&] { return OBJtoCOLLADA(cube.c_str(), &dae[0], mode); }, 3);
    sweep("OBJtoCOLLADATris", none,
          [&] { return OBJtoCOLLADATris(cube.c_str(), &dae[0], mode); }, 3);
  }
}

TEST_F(NoMemory, SculptMapAndTheOperationsBesideTheExports) {
  const std::string grid = sample("grid_8x8.obj");
  const std::string bmp = out("grid.bmp"), scaled = out("scaled.obj");
  auto none = [] {};
  sweep("exportSculpty", none, [&] { return exportSculpty(grid.c_str(), bmp.c_str(), false); },
        3);
  sweep("scaleUVFile", none,
        [&] { return asResult(scaleuvs::scaleUVFile(grid.c_str(), scaled.c_str(), 0.5)); }, 2);
  const std::string packed = out("grid.rle"), unpacked = out("grid.back");
  // Every status its own number, NoMemory -99.
  auto asNumber = [](fennick::Status s) {
    return s == fennick::Status::NoMemory ? -99.0f : static_cast<float>(s);
  };
  sweep("compressFile", none, [&] {
    runlength::Sizes sizes;
    return asNumber(runlength::compressFile(grid.c_str(), packed.c_str(), sizes));
  }, 2);
  sweep("decompressFile", none, [&] {
    return asNumber(runlength::decompressFile(packed.c_str(), unpacked.c_str()));
  }, 2);
  EXPECT_EQ(testsupport::readText(unpacked), testsupport::readText(grid));
  const std::string copy = out("grid.copy");
  sweep("copyFile", none, [&] { return asNumber(fileops::copyFile(grid.c_str(), copy.c_str())); },
        2);
  EXPECT_EQ(testsupport::readText(copy), testsupport::readText(grid));
  // Nothing but the outputs is left in the folder by the failed runs.
  EXPECT_EQ(testsupport::namesIn(dir),
            (std::vector<std::string>{"grid.back", "grid.bmp", "grid.copy", "grid.rle",
                                      "scaled.obj"}));
  testsupport::removeTree(dir);
}

}  // namespace
