// An edition unloaded by the host is gone: its state (the open folder
// listing) does not survive into the next load.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using Fn = float (*)(char*, double, char*);

bool mapped(const std::string& realPath) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.size() >= realPath.size() &&
        line.compare(line.size() - realPath.size(), realPath.size(), realPath) == 0)
      return true;
  }
  return false;
}

void reloadsWithoutState(const char* path) {
  char real[PATH_MAX];
  ASSERT_NE(realpath(path, real), nullptr) << path;
  ASSERT_FALSE(mapped(real)) << "loaded before the test: " << real;

  void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  Fn openFolder = reinterpret_cast<Fn>(dlsym(handle, "OpenFolder"));
  Fn getFile = reinterpret_cast<Fn>(dlsym(handle, "GetFile"));
  ASSERT_NE(openFolder, nullptr);
  ASSERT_NE(getFile, nullptr);
  char folderPath[] = FENNICK_SAMPLES_DIR;
  char block[1024] = "";
  ASSERT_EQ(openFolder(folderPath, 0, nullptr), 0.0f);
  ASSERT_EQ(getFile(nullptr, 0, block), 0.0f);  // the listing is open
  EXPECT_TRUE(mapped(real));
  ASSERT_EQ(dlclose(handle), 0);
  EXPECT_FALSE(mapped(real)) << "still mapped after its last dlclose";

  handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  getFile = reinterpret_cast<Fn>(dlsym(handle, "GetFile"));
  ASSERT_NE(getFile, nullptr);
  std::string untouched = "untouched";
  std::copy(untouched.begin(), untouched.end() + 1, block);
  EXPECT_EQ(getFile(nullptr, 0, block), -1.0f) << "a listing survived the unload";
  EXPECT_EQ(untouched, block);
  dlclose(handle);
}

// A program of its own: nothing else in the process loads the editions.
TEST(Unload, FennickDLLLeavesNoStateBehind) { reloadsWithoutState(FENNICK_DLL_PATH); }
TEST(Unload, FennickDLL02LeavesNoStateBehind) { reloadsWithoutState(FENNICK_DLL02_PATH); }

}  // namespace
